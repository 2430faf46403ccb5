#include "zepplayer/shell_qt/player_window.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTabletEvent>
#include <QTimer>
#include <QTouchEvent>
#include <QUrl>

#include <vector>

#include "sys/data_dirs.h"
#include "zep/character_lookup.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"
#include "zepplayer/save_types.h"
#include "zepplayer/shell_qt/bitmap_image.h"
#include "zepplayer/shell_qt/click_sound.h"
#include "zepplayer/shell_qt/lookup_window.h"

namespace fs = std::filesystem;

namespace shell_qt {

namespace {

// A dialog unit is defined by the average width of the 52 Latin letters,
// rounded, and by the font's full height.
player::DialogBaseUnits BaseUnits(const QFontMetrics& metrics) {
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
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

bool CarriesText(const QMimeData* data) { return data && !data->hasUrls() && data->hasText(); }

// Whether pasted or dropped text names an imported character.
bool CarriesCharacter(const QMimeData* data) {
    return CarriesText(data) &&
           player::HoldsCharacter(data->text().toStdU16String(), sys::PlayerDataFolders());
}

// The script of the imported character that pasted or dropped text names, if any.
std::optional<fs::path> CharacterScript(const QMimeData* data) {
    if (!CarriesText(data)) return std::nullopt;
    std::string ignored;
    return player::FindCharacterScript(data->text().toStdU16String(), sys::PlayerDataFolders(),
                                       ignored);
}

// A drop loads its first file, and only a name ending in ".zep" (in any
// case) can load.
bool CarriesScript(const QMimeData* data) {
    const std::vector<fs::path> files = LocalFiles(data);
    if (files.empty()) return false;
    const QString name = QFile::decodeName(files.front().filename().native().c_str());
    return name.endsWith(QStringLiteral(".zep"), Qt::CaseInsensitive);
}

// Widget coordinates are canvas pixels: the client area is composed at one
// canvas pixel per layout pixel.
gfx::PointF CanvasPoint(const QPointF& at) { return {at.x(), at.y()}; }

// The pointer's calls for a press, a move and a release.
void ForwardPointer(QEvent::Type type, const QPointF& at) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::TabletPress:
        case QEvent::TouchBegin:
            player::OnPointerDown(CanvasPoint(at));
            break;
        case QEvent::MouseMove:
        case QEvent::TabletMove:
        case QEvent::TouchUpdate:
            player::OnPointerMove(CanvasPoint(at));
            break;
        default:
            player::OnPointerUp(CanvasPoint(at));
            break;
    }
}

using player::kSaveTypes;
using player::SaveType;

const SaveType& SaveTypeOf(const QString& filter) {
    for (const SaveType& type : kSaveTypes) {
        if (filter == QLatin1String(type.filter)) return type;
    }
    return kSaveTypes[0];
}

void ProposeName(QFileDialog& dialog, const SaveType& type) {
    const fs::path name = player::ProposedSaveName(type);
    if (!name.empty()) dialog.selectFile(QFile::decodeName(name.native().c_str()));
}

}  // namespace

PlayerWindow::PlayerWindow(const std::optional<fs::path>& argument) {
    setWindowTitle(QString::fromUtf8(player::kDialogCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
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

    // Beyond the template, as on any window here: the arrow keys step as "<"
    // and ">" do, whichever button has the focus, Ctrl+O opens a script,
    // Ctrl+T starts practice, Ctrl+L look-up, and Ctrl+Z undoes its stroke.
    const auto shortcut = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::Key_Left), [] { player::OnCommand(player::kIdPrevious); });
    shortcut(QKeySequence(Qt::Key_Right), [] { player::OnCommand(player::kIdNext); });
    shortcut(QKeySequence::Open, [this] { OpenScript(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_T),
             [] { player::OnPractice(player::PracticeAction::Start); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L),
             [] { player::OnLookup(player::LookupAction::Start); });
    shortcut(QKeySequence::Undo, [] { player::OnLookup(player::LookupAction::Undo); });
    lookup_ = new LookupWindow(this);

    // A finger writes on the canvas as the mouse does.
    setAttribute(Qt::WA_AcceptTouchEvents);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [] { player::OnTimer(); });

    click_ = std::make_unique<ClickSound>(QStringLiteral(":/zepplayer/click.wav"));
    argument_error_ = player::OnInitDialog(*this, argument);
}

PlayerWindow::~PlayerWindow() { player::OnDestroy(); }

// The animation thread calls in here too: every change to the window is
// queued to the window's own thread, and nothing waits for it.
void PlayerWindow::RequestRepaint(player::RepaintArea area, bool /*erase: Qt repaints whole*/) {
    QMetaObject::invokeMethod(
        this,
        [this, area] { area == player::RepaintArea::Client ? update() : update(CanvasRect()); },
        Qt::QueuedConnection);
}

void PlayerWindow::PlayClick() {
    QMetaObject::invokeMethod(
        this, [this] { click_->Play(); }, Qt::QueuedConnection);
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

void PlayerWindow::StartTimer(int32_t ms) { timer_->start(ms); }

void PlayerWindow::ShowLookup(const player::LookupPanel& panel) { lookup_->Show(panel); }

void PlayerWindow::PostLookupReady() {
    QMetaObject::invokeMethod(this, [] { player::OnLookupReady(); }, Qt::QueuedConnection);
}

void PlayerWindow::SetCounterText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (counter_->text() != shown) counter_->setText(shown);
    const QString tip = QString::fromStdString(player::CounterTip(text));
    if (counter_->toolTip() != tip) counter_->setToolTip(tip);
}

void PlayerWindow::EndDialog(int32_t result) { done(result); }

std::optional<player::SaveChoice> PlayerWindow::AskSavePath() {
    QStringList filters;
    for (const SaveType& type : kSaveTypes) filters << QLatin1String(type.filter);
    QFileDialog dialog(this, QStringLiteral("Save as BMP"), QString(), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    // The picture of a loaded character is proposed under the script's name,
    // with the extension of the type chosen.
    ProposeName(dialog, kSaveTypes[0]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const SaveType& type = SaveTypeOf(f);
        dialog.setDefaultSuffix(QLatin1String(type.suffix));
        ProposeName(dialog, type);
    });
    // Replacing a file needs the user's word.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
    return player::SaveChoice{ToPath(files.first()), SaveTypeOf(dialog.selectedNameFilter()).kind};
}

// The platform's own file dialog where it has one.
std::optional<fs::path> PlayerWindow::AskScriptPath() {
    const QString name =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open ZEP script"), QString(),
                                     QStringLiteral("ZEP script (*.zep *.ZEP)"));
    if (name.isEmpty()) return std::nullopt;
    return ToPath(name);
}

// The script loads as a dropped one does.
void PlayerWindow::OpenScript() {
    if (const std::optional<fs::path> path = AskScriptPath()) player::OnDropFiles({*path});
}

QRect PlayerWindow::CanvasRect() const { return {0, 0, player::kCanvasSide, player::kCanvasSide}; }

std::unique_ptr<QMenu> PlayerWindow::PracticeMenu() {
    const player::PracticeStatus status = player::CurrentPractice();
    auto menu = std::make_unique<QMenu>(this);
    const auto item = [&menu](const char* text, player::PracticeAction action, bool enabled) {
        QAction* added =
            menu->addAction(QString::fromUtf8(text), [action] { player::OnPractice(action); });
        added->setEnabled(enabled);
        return added;
    };
    QAction* trace = item("Practice: trace", player::PracticeAction::Trace, status.available);
    QAction* recall = item("Practice: recall", player::PracticeAction::Recall, status.available);
    menu->addSeparator();
    item("Leave practice", player::PracticeAction::Leave, status.active);
    for (QAction* mode : {trace, recall}) mode->setCheckable(true);
    trace->setChecked(status.active && !status.recall);
    recall->setChecked(status.active && status.recall);
    menu->addSeparator();
    const bool looking_up = player::CurrentLookup().active;
    const auto lookup_item = [&menu](const char* text, player::LookupAction action, bool enabled) {
        menu->addAction(QString::fromUtf8(text), [action] { player::OnLookup(action); })
            ->setEnabled(enabled);
    };
    lookup_item("Look up a kanji by drawing", player::LookupAction::Start, !looking_up);
    lookup_item("Leave look-up", player::LookupAction::Leave, looking_up);
    return menu;
}

void PlayerWindow::reject() { player::OnCommand(player::kIdCancel); }

void PlayerWindow::paintEvent(QPaintEvent* /*event*/) {
    // The client area is composed with a canvas pixel for each pixel of the
    // layout, then scaled to the screen's device pixels, nearest neighbour:
    // the canvas fills its place at any scale and stays sharp.
    const int32_t width = this->width();
    const int32_t height = this->height();
    if (!client_ || client_->width() != width || client_->height() != height) {
        client_ = gfx::Bitmap::Create(width, height, gfx::PixelFormat::Rgb32);
        if (!client_) return;
    }
    player::OnPaint(*client_, {0, 0, width, height});
    ToDeviceImage(*client_, devicePixelRatioF(), shown_);
    if (shown_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), shown_);
}

// Enter presses the focused button; with no button focused it ends the
// dialog, and so does Esc outside practice.
// Touch comes as its own events; the first finger writes. A touch that
// cannot write is left to come again as a mouse press, for the buttons.
bool PlayerWindow::event(QEvent* event) {
    const QEvent::Type type = event->type();
    const bool touch = type == QEvent::TouchBegin || type == QEvent::TouchUpdate ||
                       type == QEvent::TouchEnd || type == QEvent::TouchCancel;
    if (!touch) return QDialog::event(event);
    const auto* touches = static_cast<QTouchEvent*>(event);
    if (touches->points().isEmpty()) return QDialog::event(event);
    const QPointF at = touches->points().first().position();
    const bool drawing = player::CurrentPractice().active || player::CurrentLookup().active;
    const bool writes = drawing && CanvasRect().contains(at.toPoint());
    if (type == QEvent::TouchBegin && !writes) return QDialog::event(event);
    ForwardPointer(type, at);
    event->accept();
    return true;
}

void PlayerWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ForwardPointer(event->type(), event->position());
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) ForwardPointer(event->type(), event->position());
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ForwardPointer(event->type(), event->position());
}

// A pen's own events carry its position between pixels; accepted, they
// come as no mouse events besides.
void PlayerWindow::tabletEvent(QTabletEvent* event) {
    ForwardPointer(event->type(), event->position());
    event->accept();
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (!CanvasRect().contains(event->pos())) return;
    PracticeMenu()->exec(event->globalPos());
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    // Ctrl+V with a character on the clipboard loads it, like a dropped script.
    if (event->matches(QKeySequence::Paste)) {
        if (const auto script = CharacterScript(QGuiApplication::clipboard()->mimeData())) {
            player::OnDropFiles({*script});
        }
        return;
    }
    // Esc leaves practice or look-up first; the close box still closes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        player::OnEscape();
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
    // The cursor promises a drop only for what the player can load.
    if (CarriesScript(event->mimeData()) || CarriesCharacter(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void PlayerWindow::dropEvent(QDropEvent* event) {
    std::vector<fs::path> files = LocalFiles(event->mimeData());
    if (files.empty()) {
        if (const auto script = CharacterScript(event->mimeData())) files.push_back(*script);
    }
    if (files.empty()) return;
    event->acceptProposedAction();
    player::OnDropFiles(files);
}

}  // namespace shell_qt
