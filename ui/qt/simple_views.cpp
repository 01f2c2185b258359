#include "ui/qt/simple_views.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>

namespace ui::qt {
namespace {

QString ToQString(const window::Text& text) { return QString::fromStdU16String(text); }

QColor ToQColor(window::Color color) { return QColor(color.red, color.green, color.blue); }

window::Color FromQColor(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

Qt::Alignment HorizontalAlignment(window::Alignment alignment) {
    switch (alignment) {
        case window::Alignment::Center:
            return Qt::AlignHCenter;
        case window::Alignment::Right:
            return Qt::AlignRight;
        case window::Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

LabelView::LabelView(window::Label& label, const window::DesignEntry& design, QWidget* parent)
    : QLabel(parent), label_(label) {
    setTextFormat(Qt::PlainText);
    // Wraps at word boundaries; the fixed geometry cuts off what does not fit below.
    setWordWrap(true);
    setAlignment(HorizontalAlignment(design.alignment) | Qt::AlignTop);
    // The rest follows the palette, the user's colour scheme.
    const window::FixedColors fixed =
        window::FixedColorsOf(design, label_, FromQColor(palette().color(QPalette::Window)));
    if (fixed.text) {
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, ToQColor(*fixed.text));
        colours.setColor(QPalette::Window, ToQColor(*fixed.background));
        setPalette(colours);
        setAutoFillBackground(true);
    }
    label_.SetObserver(this);
    ControlChanged(label_);
}

LabelView::~LabelView() { label_.SetObserver(nullptr); }

void LabelView::ControlChanged(const window::Control&) {
    setText(ToQString(label_.Caption()));
    OfferWholeCaption();
    setVisible(label_.Visible());
}

void LabelView::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    OfferWholeCaption();
}

// A caption longer than its label loses the lines that do not fit, as designed; the tip
// still shows all of it.
void LabelView::OfferWholeCaption() {
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, width(), QWIDGETSIZE_MAX),
                                                    Qt::TextWordWrap | alignment(), text());
    setToolTip(needed.height() > height() ? text() : QString());
}

// Whole lines only: a line cut through the middle would read as a drawing fault. The first
// line is drawn even when the label is lower than it.
void LabelView::paintEvent(QPaintEvent*) {
    QTextOption wrapping(alignment() & Qt::AlignHorizontal_Mask);
    wrapping.setWrapMode(QTextOption::WordWrap);
    QTextLayout layout(text(), font());
    layout.setTextOption(wrapping);
    layout.beginLayout();
    qreal top = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, top));
        top += line.height();
    }
    layout.endLayout();

    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int n = 0; n < layout.lineCount(); ++n) {
        const QTextLine line = layout.lineAt(n);
        if (n > 0 && line.y() + line.height() > height()) break;
        line.draw(&painter, QPointF(0, 0));
    }
}

TextBoxView::TextBoxView(window::TextBox& box, const window::DesignEntry& design,
                         Dispatcher& dispatcher, QWidget* parent)
    : QLineEdit(parent), box_(box), design_(design) {
    setReadOnly(design.readOnly);
    if (design.masked) setEchoMode(QLineEdit::Password);
    connect(this, &QLineEdit::textEdited, this, [this, &dispatcher](const QString& typed) {
        dispatcher.Run([this, &typed] { box_.Typed(typed.toStdU16String()); });
    });
    box_.SetObserver(this);
    ControlChanged(box_);
}

TextBoxView::~TextBoxView() { box_.SetObserver(nullptr); }

void TextBoxView::ControlChanged(const window::Control&) {
    // The user's own typing comes back here; setting the same text again would move the
    // cursor to the end.
    const QString text = ToQString(box_.GetText());
    if (this->text() != text) setText(text);
    const window::FixedColors fixed =
        window::FixedColorsOf(design_, box_, FromQColor(palette().color(QPalette::Window)));
    const QColor fore = ToQColor(*fixed.text);
    const QColor back = ToQColor(*fixed.background);
    if (palette().color(QPalette::Base) != back || palette().color(QPalette::Text) != fore) {
        QPalette colours = palette();
        colours.setColor(QPalette::Base, back);
        colours.setColor(QPalette::Text, fore);
        setPalette(colours);
    }
    setVisible(box_.Visible());
}

ButtonView::ButtonView(window::CommandButton& button, const window::DesignEntry& design,
                       Dispatcher& dispatcher, QWidget* parent)
    : QPushButton(ToQString(design.content), parent), button_(button) {
    // Drawn as the button Enter presses while it has the focus, as the window decides.
    setAutoDefault(true);
    connect(this, &QPushButton::clicked, this,
            [this, &dispatcher] { dispatcher.Run([this] { button_.Click(); }); });
    button_.SetObserver(this);
    ControlChanged(button_);
}

ButtonView::~ButtonView() { button_.SetObserver(nullptr); }

void ButtonView::ControlChanged(const window::Control&) { setVisible(button_.Visible()); }

// Enter goes on to the window, which decides what it presses.
void ButtonView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPushButton::keyPressEvent(event);
}

PictureView::PictureView(window::PictureBox& picture, QWidget* parent)
    : QFrame(parent), picture_(picture) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture_.SetObserver(this);
    ControlChanged(picture_);
}

PictureView::~PictureView() { picture_.SetObserver(nullptr); }

void PictureView::ControlChanged(const window::Control&) {
    setVisible(picture_.Visible());
    if (!repaintAsked_) {
        repaintAsked_ = true;
        update();
    }
}

void PictureView::paintEvent(QPaintEvent* event) {
    repaintAsked_ = false;
    QFrame::paintEvent(event);
    const QRectF area = contentsRect();
    const double across = area.width() / picture_.ScaleWidth();
    const double down = area.height() / picture_.ScaleHeight();
    QPainter painter(this);
    painter.setClipRect(area);
    for (const window::Box& box : picture_.Boxes()) {
        const QPointF topLeft(area.left() + box.left * across, area.top() + box.top * down);
        const QPointF bottomRight(area.left() + box.right * across, area.top() + box.bottom * down);
        painter.fillRect(QRectF(topLeft, bottomRight), ToQColor(box.color));
    }
}

}  // namespace ui::qt
