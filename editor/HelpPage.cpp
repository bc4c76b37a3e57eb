#include "HelpPage.h"

#include "HelpTexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace rillo {

HelpPage::HelpPage(QWidget* parent) : QWidget(parent) {
    auto* labels = new QVBoxLayout;
    for (int i = 0; i < HelpGroupCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblCard%1").arg(i));
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
    connect(vScroll_, &QScrollBar::valueChanged, this, &HelpPage::scrollHelp);
    connect(vScroll_, &QScrollBar::sliderMoved, this, &HelpPage::scrollHelp);

    auto* layout = new QHBoxLayout(this);
    auto* labelColumn = new QWidget(this);
    labelColumn->setLayout(labels);
    labelColumn->setMaximumWidth(280);
    layout->addWidget(labelColumn);
    layout->addWidget(picture_, 1);
}

QLabel* HelpPage::cardLabel(int group) const {
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
                showHelp(i);
                return true;
            }
    }
    return QWidget::eventFilter(object, event);
}

}  // namespace rillo
