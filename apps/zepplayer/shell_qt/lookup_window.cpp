#include "zepplayer/shell_qt/lookup_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "zepplayer/lookup_mode.h"
#include "zepplayer/tool_window_place.h"

namespace shell_qt {

namespace {

// Large enough that 未 and 末 are told apart at a glance.
constexpr int kCandidatePixels = 32;
constexpr int kButtonSide = 52;
// Between the player's frame and the tool window's, around and between the
// controls. The same as the Win32 window's, so that the window checks find
// the first candidate at the same place in both.
constexpr int kGap = 8;

gfx::Rect Covered(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
constexpr int kMargin = 8;
constexpr int kSpacing = 6;
constexpr int kStatusHeight = 20;

QFont JapaneseFont() {
    QFont font;
    // Fontconfig falls back to any font with the glyphs when these are missing.
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                      QStringLiteral("IPAexGothic")});
    font.setPixelSize(kCandidatePixels);
    return font;
}

}  // namespace

LookupWindow::LookupWindow(QWidget* player)
    : QWidget(player, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      player_(player) {
    setWindowTitle(QStringLiteral("Look up a kanji"));
    // The keys stay with the player, where Esc leaves look-up.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    status_ = new QLabel(this);
    status_->setFixedHeight(kStatusHeight);
    layout->addWidget(status_);
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    const QFont font = JapaneseFont();
    for (size_t n = 0; n < player::kLookupCandidates; ++n) {
        auto* button = new QPushButton(this);
        button->setFont(font);
        button->setFixedSize(kButtonSide, kButtonSide);
        button->setAutoDefault(false);
        button->setObjectName(QStringLiteral("candidate%1").arg(n));
        connect(button, &QPushButton::clicked, this, [n] { player::OnLookupCandidate(n); });
        row->addWidget(button);
        candidates_.push_back(button);
    }
    row->addStretch();
    layout->addLayout(row);
    auto* edits = new QHBoxLayout;
    undo_ = new QPushButton(QStringLiteral("Undo stroke"), this);
    clear_ = new QPushButton(QStringLiteral("Clear"), this);
    for (QPushButton* button : {undo_, clear_}) {
        button->setAutoDefault(false);
        edits->addWidget(button);
    }
    edits->addStretch();
    layout->addLayout(edits);
    connect(undo_, &QPushButton::clicked, this, [] { player::OnLookup(player::LookupAction::Undo); });
    connect(clear_, &QPushButton::clicked, this,
            [] { player::OnLookup(player::LookupAction::Clear); });
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [] { player::OnLookup(player::LookupAction::Undo); });
    // Room for ten candidates from the start, so the window never jumps.
    for (QPushButton* button : candidates_) button->setText(QStringLiteral("永"));
    adjustSize();
    setFixedSize(sizeHint());
}

void LookupWindow::Show(const player::LookupPanel& panel) {
    if (!panel.shown) {
        hide();
        return;
    }
    status_->setText(QString::fromStdString(panel.status));
    for (size_t n = 0; n < candidates_.size(); ++n) {
        const bool offered = n < panel.candidates.size();
        candidates_[n]->setText(offered ? QString::fromStdString(panel.candidates[n]) : QString());
        candidates_[n]->setEnabled(offered);
    }
    undo_->setEnabled(panel.can_undo);
    clear_->setEnabled(panel.can_undo);
    if (isVisible()) return;
    const QSize size = sizeHint();
    const gfx::Point at =
        player::ToolWindowPlace(Covered(player_->frameGeometry()), size.width(), size.height(),
                                Covered(player_->screen()->availableGeometry()), kGap);
    move(at.x, at.y);
    show();
}

// The close box leaves look-up, or puts away why it could not start.
void LookupWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    player::OnLookup(player::LookupAction::Leave);
}

void LookupWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        player::OnLookup(player::LookupAction::Leave);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace shell_qt
