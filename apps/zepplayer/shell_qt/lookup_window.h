// The look-up's tool window beside the player: its status, a row of
// candidate buttons in a Japanese font, Undo and Clear. It shows what the
// dialog logic's LookupPanel says and sends its buttons back there.
#pragma once

#include <QWidget>

#include <vector>

#include "zepplayer/dialog.h"

class QLabel;
class QPushButton;

namespace shell_qt {

class LookupWindow : public QWidget {
public:
    explicit LookupWindow(QWidget* player);

    // Shows, updates or hides the window; it opens beside the player.
    void Show(const player::LookupPanel& panel);

    // The candidate buttons, best first; those without a candidate
    // are empty and disabled.
    const std::vector<QPushButton*>& Candidates() const { return candidates_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* player_;
    QLabel* status_ = nullptr;
    std::vector<QPushButton*> candidates_;
    QPushButton* undo_ = nullptr;
    QPushButton* clear_ = nullptr;
};

}  // namespace shell_qt
