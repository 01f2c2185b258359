// The window on screen: one widget per control of Form1, placed and dressed from the design
// table, redrawn whenever the model changes.
#pragma once

#include <QLabel>
#include <QProxyStyle>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/qt/dispatcher.h"
#include "ui/qt/qt_host.h"
#include "window/design.h"

namespace ui::qt {

class MainWindow : public QWidget {
public:
    MainWindow(window::Form1& form, QtHost& host);
    ~MainWindow() override;

    // The widget that shows the control of that name, or nullptr.
    QWidget* WidgetFor(const std::string& name) const;
    // Runs a reaction as if to a user event (the widgets' own way in; scripts use it too).
    void Dispatch(const std::function<void()>& action) { dispatcher_.Run(action); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // labels: each label made is put there under its name, for its buddy to be set once
    // every widget exists.
    QWidget* MakeWidget(const window::DesignEntry& entry, std::map<std::string, QLabel*>& labels);

    window::Form1& form_;
    QtHost& host_;
    Dispatcher dispatcher_;
    // Masks the password boxes with '*'; the destructor deletes the widgets before it.
    std::unique_ptr<QProxyStyle> passwordStyle_;
    std::map<std::string, QWidget*> widgets_;
};

}  // namespace ui::qt
