// The status line is one line wide: a text longer than the line shows cut short, so each
// status the window can give after a failed run or a refused entry must fit it whole.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QString>

#include "remembered/remembered_folder.h"
#include "tests/support/native_text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {
namespace {

TEST(StatusLine, RefusalsAndFailuresFitOnItsOneLine) {
    QtHost host;
    const remembered::RememberedFolder remembered(u".");
    window::Form1 form(host, remembered);
    MainWindow window(form, host);
    const QLabel* status = dynamic_cast<QLabel*>(window.WidgetFor("Label1"));
    ASSERT_NE(status, nullptr);
    const QFontMetrics metrics(status->font());
    for (const char* text :
         {"Password has characters it cannot use", "LastPath is kept for the program here",
          "Failed: Source changed during the run", "Failed: File too large",
          "Stopped, nothing was written"}) {
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(text)), status->width()) << text;
    }
}

}  // namespace
}  // namespace ui::qt
