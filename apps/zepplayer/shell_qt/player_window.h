// The player's window on Qt 6 Widgets: the dialog, its six controls, the
// canvas and the pointer on it, dropped files, the save dialog, the click and
// the look-up's tool window. Everything it shows or does for the player comes
// from zepplayer/dialog.h.
#pragma once

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "gfx/bitmap.h"
#include "zepplayer/dialog.h"

class QLabel;
class QMenu;
class QTimer;

namespace shell_qt {

class ClickSound;
class LookupWindow;

class PlayerWindow : public QDialog, public player::DialogHost {
public:
    // Sets up the window and loads the script named on the command line.
    explicit PlayerWindow(const std::optional<std::filesystem::path>& argument);
    // Stops the animation and waits for it before anything it uses goes away.
    ~PlayerWindow() override;
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    void RequestRepaint(player::RepaintArea area, bool erase) override;
    void SetCounterText(const std::string& text) override;
    void EndDialog(int32_t result) override;
    std::optional<player::SaveChoice> AskSavePath() override;
    void PlayClick() override;
    void BringToFront() override;
    void StartTimer(int32_t ms) override;
    void ShowLookup(const player::LookupPanel& panel) override;
    void PostLookupReady() override;

    // The open dialog (Ctrl+O): the script the user chose, or none.
    virtual std::optional<std::filesystem::path> AskScriptPath();
    // Asks for a script and loads it.
    void OpenScript();

    // The canvas in the window's coordinates.
    QRect CanvasRect() const;
    // Why the script named on the command line did not load; nothing when it
    // did or none was named.
    const std::error_code& ArgumentError() const { return argument_error_; }

    // The canvas' context menu: practice by tracing or from memory, look-up,
    // and leaving either.
    std::unique_ptr<QMenu> PracticeMenu();
    LookupWindow& Lookup() const { return *lookup_; }

    // Esc and the close box.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QLabel* counter_ = nullptr;
    std::unique_ptr<ClickSound> click_;
    QTimer* timer_ = nullptr;
    LookupWindow* lookup_ = nullptr;
    // The client area in canvas pixels, and in the screen's device pixels,
    // kept between repaints.
    std::optional<gfx::Bitmap> client_;
    QImage shown_;
    std::error_code argument_error_;
};

}  // namespace shell_qt
