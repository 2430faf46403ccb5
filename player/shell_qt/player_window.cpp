#include "player/shell_qt/player_window.h"

#include <QAudioDevice>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMediaDevices>
#include <QMetaObject>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <vector>

#include "player/character_lookup.h"
#include "player/dialog_layout.h"
#include "player/player_state.h"
#include "player/shell_qt/bitmap_image.h"
#include "sys/data_dirs.h"

namespace fs = std::filesystem;

namespace shell_qt {

namespace {

// A dialog unit is defined by the average width of the 52 Latin letters,
// rounded, and by the font's full height.
player::DialogBaseUnits BaseUnits(const QFontMetrics& metrics) {
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToQRect(const gfx::Rect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// Paths are handed on as the system's own bytes.
fs::path ToPath(const QString& name) { return fs::path(QFile::encodeName(name).toStdString()); }

std::vector<fs::path> LocalFiles(const QMimeData* data) {
    std::vector<fs::path> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.push_back(ToPath(url.toLocalFile()));
    }
    return files;
}

// The imported character that pasted or dropped text names, if any.
std::optional<fs::path> CharacterScript(const QMimeData* data) {
    if (!data || data->hasUrls() || !data->hasText()) return std::nullopt;
    return player::FindCharacterScript(data->text().toStdU16String(), sys::PlayerDataFolders());
}

}  // namespace

int32_t CanvasScale(qreal device_pixel_ratio) {
    return std::max(1, static_cast<int32_t>(std::floor(device_pixel_ratio)));
}

PlayerWindow::PlayerWindow(const std::optional<fs::path>& argument) {
    setWindowTitle(QString::fromUtf8(player::kDialogCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);

    const player::DialogBaseUnits base = BaseUnits(QFontMetrics(font()));
    setFixedSize(player::UnitsToPixelsX(player::kDialogWidthUnits, base),
                 player::UnitsToPixelsY(player::kDialogHeightUnits, base));
    // Created in tab order.
    for (const player::ControlTemplate& control : player::kControls) {
        QWidget* widget = nullptr;
        if (control.kind == player::ControlKind::PushButton) {
            auto* button = new QPushButton(QString::fromUtf8(control.text), this);
            button->setAutoDefault(false);
            button->setDefault(false);
            const int32_t id = control.id;
            connect(button, &QPushButton::clicked, this, [id] { player::OnCommand(id); });
            widget = button;
        } else {
            counter_ = new QLabel(QString::fromUtf8(control.text), this);
            counter_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            widget = counter_;
        }
        widget->setObjectName(QString::number(control.id));
        widget->setGeometry(ToQRect(player::ControlRect(control, base)));
    }

    if (!QMediaDevices::defaultAudioOutput().isNull()) {
        click_ = new QSoundEffect(this);
        click_->setSource(QUrl(QStringLiteral("qrc:/zepplayer/click.wav")));
    }
    player::OnInitDialog(*this, argument);
}

PlayerWindow::~PlayerWindow() { player::OnDestroy(); }

// The animation thread calls in here too: every change to the window is
// queued to the window's own thread, and nothing waits for it.
void PlayerWindow::RequestRepaint(player::RepaintArea area, bool /*erase: Qt repaints whole*/) {
    QMetaObject::invokeMethod(
        this, [this, area] { area == player::RepaintArea::Client ? update() : update(CanvasRect()); },
        Qt::QueuedConnection);
}

void PlayerWindow::PlayClick() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!click_) return;
            // A new click cuts off the one still sounding.
            click_->stop();
            click_->play();
        },
        Qt::QueuedConnection);
}

void PlayerWindow::BringToFront() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            raise();
            activateWindow();
        },
        Qt::QueuedConnection);
}

void PlayerWindow::SetCounterText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (counter_->text() != shown) counter_->setText(shown);
}

void PlayerWindow::EndDialog(int32_t result) { done(result); }

std::optional<fs::path> PlayerWindow::AskSavePath() {
    QFileDialog dialog(this, QStringLiteral("Save as BMP"), QString(), QStringLiteral("Bitmap Image (*.bmp)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    // Replacing a file needs the user's word.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
    return ToPath(files.first());
}

QRect PlayerWindow::CanvasRect() const {
    const qreal ratio = devicePixelRatioF();
    const auto side = static_cast<int>(std::ceil(player::kCanvasSide * CanvasScale(ratio) / ratio));
    return {0, 0, side, side};
}

void PlayerWindow::reject() { player::OnCommand(player::kIdCancel); }

void PlayerWindow::paintEvent(QPaintEvent* /*event*/) {
    // The whole client area is composed in canvas pixels and drawn with each
    // one covering a whole number of device pixels.
    const qreal ratio = devicePixelRatioF();
    const qreal canvas_pixel = ratio / CanvasScale(ratio);
    const auto width = static_cast<int32_t>(std::ceil(this->width() * canvas_pixel));
    const auto height = static_cast<int32_t>(std::ceil(this->height() * canvas_pixel));
    if (!client_ || client_->width() != width || client_->height() != height) {
        client_ = gfx::Bitmap::Create(width, height, gfx::PixelFormat::Rgb32);
        if (!client_) return;
    }
    player::OnPaint(*client_, {0, 0, width, height});
    QImage image = ToQImage(*client_);
    image.setDevicePixelRatio(canvas_pixel);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image);
}

// Enter presses the focused button; with no button focused it ends the
// dialog, and so does Esc.
void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    // Ctrl+V with a character on the clipboard loads it, like a dropped script.
    if (event->matches(QKeySequence::Paste)) {
        if (const auto script = CharacterScript(QGuiApplication::clipboard()->mimeData())) {
            player::OnDropFiles({*script});
        }
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            player::OnCommand(player::kIdOk);
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void PlayerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty() || CharacterScript(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void PlayerWindow::dropEvent(QDropEvent* event) {
    std::vector<fs::path> files = LocalFiles(event->mimeData());
    if (const auto script = CharacterScript(event->mimeData()); files.empty() && script) {
        files.push_back(*script);
    }
    if (files.empty()) return;
    event->acceptProposedAction();
    player::OnDropFiles(files);
}

}  // namespace shell_qt
