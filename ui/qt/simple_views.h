// Widgets for the window's labels, text boxes, buttons and the progress bar. Each one shows
// its control as the model holds it and hands the user's input back through the model.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/qt/dispatcher.h"
#include "window/design.h"

namespace ui::qt {

class LabelView : public QLabel, public window::ControlObserver {
public:
    LabelView(window::Label& label, const window::DesignEntry& design, QWidget* parent);
    ~LabelView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OfferWholeCaption();

    window::Label& label_;
};

class TextBoxView : public QLineEdit, public window::ControlObserver {
public:
    TextBoxView(window::TextBox& box, const window::DesignEntry& design, Dispatcher& dispatcher,
                QWidget* parent);
    ~TextBoxView() override;
    void ControlChanged(const window::Control& control) override;

private:
    window::TextBox& box_;
    const window::DesignEntry& design_;
};

class ButtonView : public QPushButton, public window::ControlObserver {
public:
    ButtonView(window::CommandButton& button, const window::DesignEntry& design,
               Dispatcher& dispatcher, QWidget* parent);
    ~ButtonView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    window::CommandButton& button_;
};

// Draws the boxes of a picture box in its scale, cut off at the widget's edges.
class PictureView : public QFrame, public window::ControlObserver {
public:
    PictureView(window::PictureBox& picture, QWidget* parent);
    ~PictureView() override;
    void ControlChanged(const window::Control& control) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    window::PictureBox& picture_;
    // A run draws its bar every 10000 bytes, far more often than the screen is painted: asking
    // for a repaint once until it comes keeps the run from waiting on the toolkit.
    bool repaintAsked_ = false;
};

}  // namespace ui::qt
