// Saves a picture of the window in each stage, for the README and for checking the looks by
// eye. It walks the workflow through the same calls the widgets make, on a folder of sample
// files it creates, so the pictures are the same on every run.
//   tessomar_screenshots SAMPLE_FOLDER OUTPUT_FOLDER   (best under QT_QPA_PLATFORM=offscreen)
#include <QApplication>
#include <QMessageBox>
#include <QStyleHints>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"
#include "window/walk.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t n = 0; n < size; ++n) out.put(static_cast<char>('a' + n % 26));
}

// A start folder with a few files and subfolders.
fs::path MakeSampleFolder(const fs::path& root) {
    fs::remove_all(root);
    const fs::path documents = root / "Documents";
    fs::create_directories(documents / "Archive");
    fs::create_directories(documents / "Projects");
    WriteFile(documents / "budget.ods", 18000);
    WriteFile(documents / "letter.txt", 2500);
    WriteFile(documents / "notes.md", 900);
    WriteFile(documents / "photo.jpg", 150'000);
    return documents;
}

// The host that also takes one picture while the run paints, once the bar is a third full.
// Until then it holds each paint a little, so that the run, which paints only after some
// tens of milliseconds, is caught partway on any machine.
class PicturingHost : public ui::qt::QtHost {
public:
    const window::PictureBox* bar = nullptr;
    std::function<void()> picture;
    void PaintDuringRun() override {
        QtHost::PaintDuringRun();
        if (!picture) return;
        const bool thirdFull = bar != nullptr && !bar->Boxes().empty() &&
                               bar->Boxes().back().right * 3 >= bar->ScaleWidth();
        if (thirdFull) {
            std::exchange(picture, nullptr)();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

class Shooter {
public:
    explicit Shooter(fs::path folder) : folder_(std::move(folder)) {
        fs::create_directories(folder_);
    }

    void Save(QWidget& widget, const char* name) {
        QApplication::processEvents();
        const fs::path file = folder_ / (std::string(name) + ".png");
        if (!widget.grab().save(QString::fromStdString(file.string()))) {
            std::fprintf(stderr, "screenshots: cannot write %s\n", file.c_str());
            failed_ = true;
        }
    }
    bool Failed() const { return failed_; }

private:
    fs::path folder_;
    bool failed_ = false;
};

// Browse, Name, the exists message, Password, Retype, the run and Done with a password.
void WithPassword(const fs::path& workFolder, Shooter& shoot) {
    PicturingHost host;
    const remembered::RememberedFolder remembered(platform::FromNative(workFolder.native()));
    window::Form1 form(host, remembered);
    ui::qt::MainWindow window(form, host);
    form.Load();
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    shoot.Save(window, "1-browse");

    window.Dispatch([&] { window::PickFile(form, u"photo.jpg"); });
    shoot.Save(window, "2-name");

    WriteFile(workFolder / "Documents" / "photo_XXX.jpg", 10);
    window.Dispatch([&] { form.go.Click(); });
    shoot.Save(window, "3-exists");

    window.Dispatch([&] { form.Murder.Click(); });
    window.Dispatch([&] { form.go.Click(); });
    shoot.Save(window, "4-password");

    window.Dispatch([&] { form.Pwd.SetText(u"correct horse"); });
    shoot.Save(window, "5-retype");

    window.Dispatch([&] { form.Pwd2.SetText(u"correct horse"); });
    host.bar = &form.ProgBar;
    host.picture = [&] { shoot.Save(window, "6-running"); };
    window.Dispatch([&] { form.Start.Click(); });
    shoot.Save(window, "7-done");

    // Help over the last stage: the box alone, as the window system would draw it.
    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shoot.Save(*box, "9-help");
            box->accept();
        }
    });
    window.Dispatch([&] { form.Help.Click(); });
}

// Done without a password: the notice line's warning.
void WithoutPassword(const fs::path& workFolder, Shooter& shoot) {
    ui::qt::QtHost host;
    const remembered::RememberedFolder remembered(platform::FromNative(workFolder.native()));
    window::Form1 form(host, remembered);
    ui::qt::MainWindow window(form, host);
    form.Load();
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    window.Dispatch([&] { window::WalkToPassword(form, u"letter.txt"); });
    window.Dispatch([&] { form.Start.Click(); });
    shoot.Save(window, "8-done-without-password");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SAMPLE_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(ui::qt::kApplicationName);
    // The pictures are taken one click after another at once, which the window would take
    // for double clicks.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);

    const fs::path workFolder = fs::absolute(argv[1]);
    const fs::path documents = MakeSampleFolder(workFolder);
    const remembered::RememberedFolder remembered(platform::FromNative(workFolder.native()));
    Shooter shoot(argv[2]);

    remembered.Write(platform::FromNative(documents.native()));
    WithPassword(workFolder, shoot);
    MakeSampleFolder(workFolder);
    remembered.Write(platform::FromNative(documents.native()));
    WithoutPassword(workFolder, shoot);
    return shoot.Failed() ? 1 : 0;
}
