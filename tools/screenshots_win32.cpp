// Saves a picture of the Windows window in each of the four stages, for the README. It walks
// the workflow through the same calls the controls make, on sample files it creates.
//   tessomar_screenshots.exe SAMPLE_FOLDER OUTPUT_FOLDER   (bitmaps; scripts/screenshots-windows
//   turns them into PNG)
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_host.h"
#include "window/form1.h"
#include "window/walk.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t n = 0; n < size; ++n) out.put(static_cast<char>('a' + n % 26));
}

void Pump(ui::win32::MainWindow& window) {
    for (int round = 0; round < 20; ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window.PreTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// The window's client area as a 24-bit bitmap file (on a virtual screen without a window
// manager the frame and title are nobody's to draw).
bool Save(HWND handle, const fs::path& file) {
    RECT frame;
    GetClientRect(handle, &frame);
    MapWindowPoints(handle, nullptr, reinterpret_cast<POINT*>(&frame), 2);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    const BITMAPFILEHEADER header{
        0x4D42,
        static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes), 0, 0,
        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageBytes);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SAMPLE_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path root = fs::absolute(argv[1]);
    const fs::path output = fs::absolute(argv[2]);
    fs::remove_all(root);
    const fs::path documents = root / "Documents";
    fs::create_directories(documents / "Archive");
    fs::create_directories(documents / "Projects");
    fs::create_directories(output);
    WriteFile(documents / "budget.ods", 18000);
    WriteFile(documents / "letter.txt", 2500);
    WriteFile(documents / "notes.md", 900);
    WriteFile(documents / "photo.jpg", 150'000);

    ui::win32::Win32Host host;
    const remembered::RememberedFolder remembered(platform::FromNative(root.native()));
    window::Form1 form(host, remembered);
    ui::win32::MainWindow window(GetModuleHandleW(nullptr), form, host);
    remembered.Write(platform::FromNative(documents.native()));
    form.Load();
    window.Show(SW_SHOWNORMAL);
    bool saved = true;
    const auto shoot = [&](const char* name) {
        Pump(window);
        saved = Save(window.Handle(), output / (std::string(name) + ".bmp")) && saved;
    };
    shoot("win32-1-browse");
    window::PickFile(form, u"photo.jpg");
    shoot("win32-2-name");
    form.go.Click();
    form.Pwd.SetText(u"correct horse");
    shoot("win32-3-password");
    form.Pwd2.SetText(u"correct horse");
    // Start as a user clicks it: not within a double click of OK, which it would ignore.
    Sleep(GetDoubleClickTime());
    form.Start.Click();
    shoot("win32-4-done");
    return saved ? 0 : 1;
}
