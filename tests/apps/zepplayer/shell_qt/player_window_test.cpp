// The player's real window on Qt's offscreen platform: its layout, the
// canvas as grabbed from the window, the buttons, drops, keys, closing and
// saving. Pauses are the real ones, so the scripts here are short.
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

#include "animation/bmpwrite.h"
#include "animation/compose.h"
#include "test_character.h"
#include "zep/script.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"
#include "zepplayer/shell_qt/player_window.h"

namespace fs = std::filesystem;
using shell_qt::PlayerWindow;

namespace {

// The real window with the open and save dialogs answered by the test, and its pauses
// watched: two animations pausing at once would be two animations at once.
// The pause after a Draw can also be held, so that what the canvas shows
// while playing does not depend on how fast the test runs.
class TestWindow : public PlayerWindow {
public:
    using PlayerWindow::PlayerWindow;
    // The animation calls this object's overrides; it has to end first.
    ~TestWindow() override {
        ReleasePauses();
        player::OnDestroy();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    std::optional<fs::path> save_answer;
    int save_asked = 0;
    std::atomic<bool> overlapped{false};

    std::optional<player::SaveChoice> AskSavePath() override {
        ++save_asked;
        if (!save_answer) return std::nullopt;
        return player::SaveChoice{*save_answer};
    }
    std::optional<fs::path> open_answer;
    int open_asked = 0;
    std::optional<fs::path> AskScriptPath() override {
        ++open_asked;
        return open_answer;
    }
    void PauseAnimation(int32_t ms, const player::PlayingFlag& playing) override {
        if (++animations_pausing_ > 1) overlapped = true;
        {
            std::unique_lock lock(hold_mutex_);
            held_ = ms == holding_ms_;
            released_.wait(lock, [this, ms] { return ms != holding_ms_; });
            held_ = false;
        }
        PlayerWindow::PauseAnimation(ms, playing);
        --animations_pausing_;
    }

    // Every pause of the animation that lasts ms waits until ReleasePauses.
    void HoldPausesOf(int32_t ms) {
        const std::lock_guard lock(hold_mutex_);
        holding_ms_ = ms;
    }
    bool AnimationHeld() const {
        const std::lock_guard lock(hold_mutex_);
        return held_;
    }
    void ReleasePauses() {
        {
            const std::lock_guard lock(hold_mutex_);
            holding_ms_ = 0;
        }
        released_.notify_all();
    }

private:
    std::atomic<int> animations_pausing_{0};
    mutable std::mutex hold_mutex_;
    std::condition_variable released_;
    int32_t holding_ms_ = 0;
    bool held_ = false;
};

QPushButton* Button(QWidget& window, int32_t id) {
    return window.findChild<QPushButton*>(QString::number(id));
}

QString Counter(QWidget& window) {
    return window.findChild<QLabel*>(QString::number(player::kIdCounter))->text();
}

void Press(QWidget& window, int32_t id) { QTest::mouseClick(Button(window, id), Qt::LeftButton); }

// What the canvas should show now.
gfx::Bitmap ComposedCanvas() {
    std::optional<gfx::Bitmap> canvas =
        gfx::Bitmap::Create(player::kCanvasSide, player::kCanvasSide, gfx::PixelFormat::Rgb32);
    player::ComposeFrame(*canvas, player::kCanvas, player::SharedCanvasState());
    return std::move(*canvas);
}

// The canvas grabbed from the window fills its place in the layout with the
// picture, each device pixel showing the canvas pixel under its centre, so
// that at any scale every device pixel has one of the picture's colours.
bool CanvasShows(PlayerWindow& window, const gfx::Bitmap& picture) {
    const QImage image = window.grab(window.CanvasRect()).toImage();
    const qreal ratio = image.devicePixelRatio();
    // The device pixels whose centres lie on the canvas.
    const auto place = static_cast<int32_t>(std::ceil(player::kCanvasSide * ratio - 0.5));
    if (image.width() < place || image.height() < place) return false;
    const auto under = [ratio](int32_t device) {
        return static_cast<int32_t>(std::floor((device + 0.5) / ratio));
    };
    for (int32_t y = 0; y < place; ++y) {
        for (int32_t x = 0; x < place; ++x) {
            const gfx::Color c = *picture.GetPixel(under(x), under(y));
            if (image.pixel(x, y) != qRgb(c.r, c.g, c.b)) return false;
        }
    }
    return true;
}

bool CanvasShowsComposed(PlayerWindow& window) { return CanvasShows(window, ComposedCanvas()); }

bool FrameHasRed() {
    const std::shared_ptr<const gfx::Bitmap> frame = player::FrameBitmap.Current();
    const gfx::Rect bar = dialog_test::kThreeBars[0];
    return frame && frame->GetPixel(bar.left, bar.top) == gfx::kRed;
}

}  // namespace

class PlayerWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    fs::path bars_;
    fs::path waits_;

    fs::path Dir() const { return fs::path(QFile::encodeName(dir_.path()).toStdString()); }

    std::unique_ptr<TestWindow> Open(const std::optional<fs::path>& argument) {
        auto window = std::make_unique<TestWindow>(argument);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
        return window;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // The first Draw's frame stays for two seconds of Waits.
        bars_ =
            dialog_test::WriteCharacter(Dir(), "bars", "D;W;W;W;W;D;D;", dialog_test::kThreeBars);
        waits_ = dialog_test::WriteCharacter(Dir(), "waits", "W;", {});
    }

    void init() {
        player::Commands.clear();
        player::RegionFiles.clear();
        player::ShownStroke = -1;
        player::Playing = 0;
        player::FrameBitmap.Clear();
    }

    void windowFollowsTheTemplate() {
        const auto window = Open(std::nullopt);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("ZEP Player"));
        const QFontMetrics metrics(window->font());
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        const player::DialogBaseUnits base{(letters / 26 + 1) / 2, metrics.height()};
        QCOMPARE(window->size(),
                 QSize(player::UnitsToPixelsX(210, base), player::UnitsToPixelsY(197, base)));

        for (const player::ControlTemplate& control : player::kControls) {
            QWidget* widget = window->findChild<QWidget*>(QString::number(control.id));
            QVERIFY(widget);
            const gfx::Rect r = player::ControlRect(control, base);
            QCOMPARE(widget->geometry(), QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                QCOMPARE(button->text(), QString::fromUtf8(control.text));
                QVERIFY(!button->autoDefault() && !button->isDefault());
            } else {
                QCOMPARE(control.id, player::kIdCounter);
                QVERIFY(qobject_cast<QLabel*>(widget)->text().isEmpty());
            }
        }
        // Tab order: the buttons in template order, the counter skipped.
        QStringList order;
        QWidget* widget = Button(*window, player::kIdPlay);
        for (int i = 0; i < 5; ++i, widget = widget->nextInFocusChain()) {
            while (!(widget->focusPolicy() & Qt::TabFocus)) widget = widget->nextInFocusChain();
            order << widget->objectName();
        }
        QCOMPARE(order, QStringList({"1024", "1025", "1027", "1026", "1028"}));
        QCOMPARE(window->focusWidget(), Button(*window, player::kIdPlay));
        // The counter sits between "<" and ">", the canvas at the origin left of both.
        const QRect counter = window->findChild<QLabel*>("1088")->geometry();
        QVERIFY(Button(*window, player::kIdPrevious)->geometry().bottom() < counter.top());
        QVERIFY(counter.bottom() < Button(*window, player::kIdNext)->geometry().top());
        QVERIFY(window->CanvasRect().right() < counter.left());
        QVERIFY(window->CanvasRect().bottom() < Button(*window, player::kIdPlay)->geometry().top());
    }

    void canvasShowsTheComposedPicture_data() {
        QTest::addColumn<bool>("load");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("counter");
        QTest::newRow("empty prompt") << false << 0 << "";
        QTest::newRow("whole character") << true << 0 << "";
        QTest::newRow("step") << true << int{player::kIdNext} << "0";
        QTest::newRow("playing") << true << int{player::kIdPlay} << "";
    }

    void canvasShowsTheComposedPicture() {
        QFETCH(bool, load);
        QFETCH(int, button);
        QFETCH(QString, counter);
        const auto window = Open(load ? std::optional(bars_) : std::nullopt);
        QVERIFY(window);
        if (button == player::kIdPlay) window->HoldPausesOf(50);  // after the first Draw
        if (button) Press(*window, button);
        if (button == player::kIdPlay) {
            QTRY_VERIFY(window->AnimationHeld());
            QVERIFY(FrameHasRed());
        }
        QTRY_VERIFY(CanvasShowsComposed(*window));
        QCOMPARE(Counter(*window), counter);
        if (!load) {
            QCOMPARE(ComposedCanvas().GetPixel(0, 0), gfx::kLightGray);
        }
    }

    void aDropLoadsItsFirstFileOnly() {
        const auto window = Open(std::nullopt);
        QVERIFY(window);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QFile::decodeName(bars_.c_str())),
                      QUrl::fromLocalFile(QFile::decodeName(waits_.c_str()))});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        QCOMPARE(player::Commands, player::ParseScript("D;W;W;W;W;D;D;"));
        QTRY_VERIFY(CanvasShowsComposed(*window));
    }

    void aDragIsTakenOnlyWhenItsFirstFileIsAScript_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("taken");
        const QUrl script = QUrl::fromLocalFile("/tmp/a.zep");
        const QUrl text = QUrl::fromLocalFile("/tmp/a.txt");
        QTest::newRow("script") << QList<QUrl>{script} << true;
        QTest::newRow("upper case") << QList<QUrl>{QUrl::fromLocalFile("/tmp/A.ZEP")} << true;
        QTest::newRow("other file") << QList<QUrl>{text} << false;
        QTest::newRow("script second") << QList<QUrl>{text, script} << false;
        QTest::newRow("name without the dot")
            << QList<QUrl>{QUrl::fromLocalFile("/tmp/zep")} << false;
        QTest::newRow("not local") << QList<QUrl>{QUrl("https://example.org/a.zep")} << false;
        QTest::newRow("no file") << QList<QUrl>{} << false;
    }

    void aDragIsTakenOnlyWhenItsFirstFileIsAScript() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, taken);
        const auto window = Open(std::nullopt);
        QVERIFY(window);
        QMimeData data;
        if (!urls.isEmpty()) data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(window.get(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
    }

    void stepButtonsWalkAndStopAtBothEnds() {
        const auto window = Open(bars_);
        QVERIFY(window);
        const struct {
            int32_t button;
            const char* counter;
            const char* tip;
        } presses[] = {{player::kIdNext, "0", "1 / 3 strokes"},
                       {player::kIdNext, "1", "2 / 3 strokes"},
                       {player::kIdNext, "2", "3 / 3 strokes"},
                       {player::kIdNext, "2", "3 / 3 strokes"},
                       {player::kIdPrevious, "1", "2 / 3 strokes"},
                       {player::kIdPrevious, "0", "1 / 3 strokes"},
                       {player::kIdPrevious, "0", "1 / 3 strokes"},
                       {player::kIdStop, "", ""}};
        const QLabel* counter = window->findChild<QLabel*>(QString::number(player::kIdCounter));
        for (const auto& press : presses) {
            Press(*window, press.button);
            QTRY_COMPARE(Counter(*window), QString::fromUtf8(press.counter));
            QVERIFY(CanvasShowsComposed(*window));
            QCOMPARE(counter->toolTip(), QString::fromUtf8(press.tip));
        }
        QCOMPARE(player::ShownStroke.load(), -1);
    }

    // Whichever button has the focus: a focused push button would otherwise
    // take the arrows to move the focus.
    void arrowKeysStepAsTheStepButtonsDo() {
        const auto window = Open(bars_);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const struct {
            Qt::Key key;
            const char* counter;
        } keys[] = {
            {Qt::Key_Right, "0"}, {Qt::Key_Right, "1"}, {Qt::Key_Left, "0"}, {Qt::Key_Left, "0"}};
        for (const auto& key : keys) {
            QTest::keyClick(window->focusWidget(), key.key);
            QTRY_COMPARE(Counter(*window), QString::fromUtf8(key.counter));
        }
        QCOMPARE(window->focusWidget(), Button(*window, player::kIdPlay));
    }

    void ctrlOOpensAScript() {
        const auto window = Open(std::nullopt);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->open_answer = bars_;
        QTest::keyClick(window->focusWidget(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window->open_asked, 1);
        QCOMPARE(player::Commands, player::ParseScript("D;W;W;W;W;D;D;"));
        QTRY_VERIFY(CanvasShowsComposed(*window));
    }

    void stopDuringPlayShowsTheWholeCharacterAtOnce() {
        const auto window = Open(bars_);
        QVERIFY(window);
        const gfx::Bitmap whole = ComposedCanvas();
        window->HoldPausesOf(50);  // after the first Draw
        Press(*window, player::kIdPlay);
        QTRY_VERIFY(window->AnimationHeld());
        QVERIFY(FrameHasRed());
        QTRY_VERIFY(CanvasShowsComposed(*window));
        QVERIFY(!CanvasShows(*window, whole));
        Press(*window, player::kIdStop);
        QVERIFY(CanvasShows(*window, whole));
        window->ReleasePauses();
        QTRY_COMPARE(player::Playing.load(), 0);  // the animation notices and ends
        QVERIFY(CanvasShows(*window, whole));
    }

    void playTwiceNeverRunsTwoAnimations() {
        const auto window = Open(waits_);
        QVERIFY(window);
        Press(*window, player::kIdPlay);
        QTest::qWait(300);
        Press(*window, player::kIdPlay);
        QTRY_COMPARE_WITH_TIMEOUT(player::Playing.load(), 0, 5000);
        QVERIFY(!window->overlapped);
    }

    void closingDuringPlayEndsCleanly() {
        auto window = Open(bars_);
        QVERIFY(window);
        Press(*window, player::kIdPlay);
        QTRY_VERIFY(FrameHasRed());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), player::kIdCancel);
        const auto start = std::chrono::steady_clock::now();
        window.reset();
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(1));
        QCOMPARE(player::Playing.load(), 0);
        QCOMPARE(player::FrameBitmap.Current(), nullptr);
        QTest::qWait(50);  // queued requests for the gone window are dropped
    }

    void enterPressesTheFocusedButtonElseEndsTheDialog() {
        const auto window = Open(bars_);
        QVERIFY(window);
        QPushButton* next = Button(*window, player::kIdNext);
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(player::ShownStroke.load(), 0);
        QVERIFY(window->isVisible());
        next->clearFocus();
        QVERIFY(!window->focusWidget());
        QTest::keyClick(window.get(), Qt::Key_Return);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), player::kIdOk);
    }

    void saveBmpWritesTheCanvasAsShown() {
        const auto window = Open(bars_);
        QVERIFY(window);
        Press(*window, player::kIdNext);
        Press(*window, player::kIdNext);
        window->save_answer = std::nullopt;
        Press(*window, player::kIdSaveBmp);
        QCOMPARE(window->save_asked, 1);

        const fs::path saved = Dir() / "stroke.bmp";
        window->save_answer = saved;
        Press(*window, player::kIdSaveBmp);
        QCOMPARE(fs::file_size(saved), uintmax_t{8190});
        std::optional<gfx::Bitmap> mono =
            gfx::Bitmap::Create(player::kCanvasSide, player::kCanvasSide, gfx::PixelFormat::Mono1);
        player::ComposeFrame(*mono, player::kCanvas, player::SharedCanvasState());
        std::ifstream file(saved, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        QVERIFY(bytes == player::EncodeBitmapFile(*mono).value());
        QCOMPARE(Counter(*window), QStringLiteral("1"));
    }

    // The real save dialog, looked at while it is open and then cancelled:
    // with nothing loaded no name is proposed, with a script its own.
    void saveDialogAsksAsConfigured() {
        PlayerWindow window(std::nullopt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto& [script, expected] : {std::pair<fs::path, QString>{"", ""},
                                               {"/characters/yama.zep", "yama.bmp"}}) {
            player::ScriptPath = script;
            QString title;
            QStringList filters;
            QString suffix;
            bool confirms = false;
            bool saves = false;
            QString proposed = "unset";
            QTimer::singleShot(100, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                title = dialog->windowTitle();
                filters = dialog->nameFilters();
                suffix = dialog->defaultSuffix();
                confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                saves = dialog->acceptMode() == QFileDialog::AcceptSave;
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    proposed = name->text();
                dialog->reject();
            });
            QVERIFY(!window.AskSavePath());
            QCOMPARE(title, QStringLiteral("Save as BMP"));
            QCOMPARE(filters, QStringList({"Bitmap Image (*.bmp)", "Animated GIF (*.gif)",
                                           "Stroke order sheet (*.png)"}));
            QCOMPARE(suffix, QStringLiteral("bmp"));
            QVERIFY(confirms);
            QVERIFY(saves);
            QCOMPARE(proposed, expected);
        }
        player::ScriptPath.clear();
    }

    // Choosing another file type in the real save dialog proposes the
    // script's name with its extension and writes that export, not a bitmap.
    void saveDialogWritesTheChosenExport() {
        PlayerWindow window(bars_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto& [index, name, magic] :
             {std::tuple<int, QString, QByteArray>{1, "bars.gif", "GIF89a"},
              {2, "bars.png", "\x89PNG"}}) {
            QString proposed;
            QTimer::singleShot(100, [&, index = index] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* types = dialog ? dialog->findChild<QComboBox*>("fileTypeCombo") : nullptr;
                auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
                if (!types || !edit) return dialog ? dialog->reject() : void();
                types->setCurrentIndex(index);
                emit types->activated(index);
                proposed = edit->text();
                dialog->setDirectory(dir_.path());
                edit->setText(proposed);
                static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the name
            });
            Press(window, player::kIdSaveBmp);
            QCOMPARE(proposed, name);
            QFile saved(dir_.filePath(name));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.read(magic.size()), magic);
        }
    }

    // The mouse writes a stroke on the canvas; Esc leaves practice, and only
    // then closes, while the close box closes at once.
    void practiceByMouseThenEscThenTheCloseBox() {
        const fs::path lines =
            dialog_test::WriteCharacter(Dir(), "lines", "L,0;L,90;L,0;", dialog_test::kThreeBars);
        const auto window = Open(lines);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->focusWidget(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(player::CurrentPractice().active);
        const auto send = [&window](QEvent::Type type, int x, Qt::MouseButtons held) {
            const QPointF at(x, 69.5);
            QMouseEvent event(type, at, window->mapToGlobal(at), Qt::LeftButton, held, {});
            QApplication::sendEvent(window.get(), &event);
        };
        send(QEvent::MouseButtonPress, 44, Qt::LeftButton);
        for (int x = 50; x < 210; x += 5) send(QEvent::MouseMove, x, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, 210, Qt::NoButton);
        QTRY_COMPARE(Counter(*window), QStringLiteral("1"));

        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!player::CurrentPractice().active);
        QVERIFY(window->isVisible());
        window->PracticeMenu()->actions().at(1)->trigger();
        QVERIFY(player::CurrentPractice().recall);
        window->close();
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), player::kIdCancel);
    }

    // A finger writes on the canvas while practising, and elsewhere, or
    // outside practice, still presses the buttons.
    void touchWritesAndStillPressesButtons() {
        static QPointingDevice* const finger = QTest::createTouchDevice();
        const fs::path lines =
            dialog_test::WriteCharacter(Dir(), "lines", "L,0;L,90;L,0;", dialog_test::kThreeBars);
        const auto window = Open(lines);
        QVERIFY(window);
        const auto tap = [&window](QPoint at) {
            QTest::touchEvent(window.get(), finger).press(0, at);
            QTest::touchEvent(window.get(), finger).release(0, at);
        };
        tap(Button(*window, player::kIdNext)->geometry().center());
        QTRY_COMPARE(player::ShownStroke.load(), 0);
        player::OnPractice(player::PracticeAction::Trace);
        QTest::touchEvent(window.get(), finger).press(0, QPoint(44, 69));
        for (int x = 50; x < 210; x += 5) {
            QTest::touchEvent(window.get(), finger).move(0, QPoint(x, 69));
        }
        QTest::touchEvent(window.get(), finger).release(0, QPoint(210, 69));
        QTRY_COMPARE(Counter(*window), QStringLiteral("1"));
        tap(Button(*window, player::kIdNext)->geometry().center());
        QTRY_VERIFY(!player::CurrentPractice().active);
    }

    void theClickIsBuiltIn() {
        QFile click(QStringLiteral(":/zepplayer/click.wav"));
        QVERIFY(click.open(QIODevice::ReadOnly));
        QCOMPARE(click.size(), 11566);
        QCOMPARE(click.read(4), QByteArray("RIFF"));
    }
};

QTEST_MAIN(PlayerWindowTest)
#include "player_window_test.moc"
