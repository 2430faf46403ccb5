// The player's window takes a character by name: pasted with Ctrl+V or
// dropped as text, from the imported set under $XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "support/character_files.h"
#include "zep/character_store.h"
#include "zepplayer/player_state.h"
#include "zepplayer/shell_qt/player_window.h"

namespace {

namespace fs = std::filesystem;

class Paste : public ::testing::Test {
protected:
    player_test::ScratchDir dir;

    void SetUp() override {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.path().string()));
        fs::create_directories(dir.path() / "zepplayer");
        const player::StoredCharacter migi{
            "右", "D;", {player_test::RegionFileBytes(gfx::Region::FromRect({1, 1, 9, 9}))}, {}, {}};
        std::string error;
        ASSERT_TRUE(player::WriteCharacterStore(
            dir.path() / "zepplayer" / player::kCharacterStoreName, {migi}, error))
            << error;
    }
};

TEST_F(Paste, CtrlVLoadsANamedCharacterAndKeepsTheCurrentOneOtherwise) {
    shell_qt::PlayerWindow window(std::nullopt);
    auto paste = [&](const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(&window, &key);
    };
    paste(QString::fromUtf8("右"));
    ASSERT_EQ(player::RegionFiles.size(), 1u);
    EXPECT_EQ(player::Commands.size(), 1u);
    // Unpacked as a script of the character's name, which Save BMP proposes.
    EXPECT_EQ(player::ScriptPath.filename(), fs::path(u8"右.zep"));
    paste(QString::fromUtf8("左"));
    EXPECT_EQ(player::Commands.size(), 1u);
}

TEST_F(Paste, DroppedTextLoadsTheCharacter) {
    shell_qt::PlayerWindow window(std::nullopt);
    player::Commands.clear();
    QMimeData data;
    data.setText(QString::fromUtf8(" 右 "));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(player::Commands.size(), 1u);
}

}  // namespace

// The application lives on main's stack: one left to the exit handlers
// outlives Qt's own globals and crashes in their destructors.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
