#include "HelpPage.h"

#include "HelpTexts.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace rillo {

namespace {

class CardLabelAccessible : public QAccessibleWidget {
public:
    explicit CardLabelAccessible(CardLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}
    static QAccessibleInterface* create(const QString&, QObject* object) {
        if (auto* label = qobject_cast<CardLabel*>(object)) return new CardLabelAccessible(label);
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<CardLabel*>(widget())->text();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return QStringLiteral("Shows the help of this card");
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            static_cast<CardLabel*>(widget())->activate();
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

}  // namespace

CardLabel::CardLabel(QWidget* parent) : QLabel(parent) {
    static const bool accessible = (QAccessible::installFactory(&CardLabelAccessible::create), true);
    (void)accessible;
    // Reached by Tab; a click still only opens the help, as it always did.
    setFocusPolicy(Qt::TabFocus);
}

void CardLabel::activate() {
    if (isEnabled() && activate_) activate_();
}

void CardLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            activate();
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QLabel::keyPressEvent(event);
}

void CardLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // Only the focus frame is added; the label looks as before otherwise.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

HelpPage::HelpPage(QWidget* parent) : QWidget(parent) {
    auto* labels = new QVBoxLayout;
    for (int i = 0; i < HelpGroupCount; ++i) {
        auto* label = new CardLabel(this);
        label->setObjectName(QStringLiteral("lblCard%1").arg(i));
        label->setActivation([this, i] { showHelp(i); });
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setCursor(Qt::PointingHandCursor);
        label->setStyleSheet(QStringLiteral("QLabel:enabled { color: palette(link); }"));
        label->installEventFilter(this);
        lblCard_[static_cast<std::size_t>(i)] = label;
        labels->addWidget(label);
    }
    labels->addStretch(1);

    auto* picture = new QFrame(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setAutoFillBackground(true);
    picture->setBackgroundRole(QPalette::Base);
    picture->setAccessibleName(QStringLiteral("Help text"));
    picture->installEventFilter(this);
    picture_ = picture;

    lblHelp_ = new QLabel(picture_);
    lblHelp_->setObjectName(QStringLiteral("lblHelp"));
    lblHelp_->setTextFormat(Qt::PlainText);
    lblHelp_->setWordWrap(true);
    lblHelp_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHelp_->setMargin(8);

    vScroll_ = new QScrollBar(Qt::Vertical, picture_);
    vScroll_->setObjectName(QStringLiteral("VScroll1"));
    vScroll_->setRange(0, 0);
    vScroll_->setAccessibleName(QStringLiteral("Scroll the help text"));
    // Reached by Tab, so the keys (arrows, Page Up, Page Down) scroll the text too.
    vScroll_->setFocusPolicy(Qt::TabFocus);
    connect(vScroll_, &QScrollBar::valueChanged, this, &HelpPage::scrollHelp);
    connect(vScroll_, &QScrollBar::sliderMoved, this, &HelpPage::scrollHelp);

    auto* layout = new QHBoxLayout(this);
    auto* labelColumn = new QWidget(this);
    labelColumn->setLayout(labels);
    labelColumn->setMaximumWidth(280);
    layout->addWidget(labelColumn);
    layout->addWidget(picture_, 1);
}

CardLabel* HelpPage::cardLabel(int group) const {
    if (group < 0 || group >= HelpGroupCount) return nullptr;
    return lblCard_[static_cast<std::size_t>(group)];
}

void HelpPage::showHelp(int group) {
    if (group < 0 || group >= HelpGroupCount) return;
    lblHelp_->setText(QString::fromStdString(helpText(group)).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    vScroll_->setValue(0);
    fitHelpLabel();
}

void HelpPage::fitHelpLabel() {
    const int barWidth = vScroll_->sizeHint().width();
    const QRect inside = picture_->contentsRect();
    vScroll_->setGeometry(inside.right() - barWidth + 1, inside.top(), barWidth, inside.height());
    const int width = std::max(inside.width() - barWidth, 50);
    const int height = std::max(lblHelp_->heightForWidth(width), inside.height());
    lblHelp_->resize(width, height);
    vScroll_->setRange(0, std::max(height - inside.height(), 0));
    vScroll_->setPageStep(std::max(inside.height(), 1));
    vScroll_->setSingleStep(lblHelp_->fontMetrics().lineSpacing());
    scrollHelp(vScroll_->value());
}

void HelpPage::scrollHelp(int value) { lblHelp_->move(picture_->contentsRect().left(), picture_->contentsRect().top() - value); }

bool HelpPage::eventFilter(QObject* object, QEvent* event) {
    if (object == picture_ && event->type() == QEvent::Resize) {
        fitHelpLabel();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < HelpGroupCount; ++i)
            if (object == lblCard_[static_cast<std::size_t>(i)] && lblCard_[static_cast<std::size_t>(i)]->isEnabled()) {
                lblCard_[static_cast<std::size_t>(i)]->activate();
                return true;
            }
    }
    return QWidget::eventFilter(object, event);
}

}  // namespace rillo
