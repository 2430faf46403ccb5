#include "zepplayer/shell_qt/click_sound.h"

#include <canberra.h>

#include <QDir>
#include <QFile>

namespace shell_qt {

namespace {

// Every click is the same event; a new one cancels the last by this id.
constexpr uint32_t kClickId = 1;

bool CopyTo(const QString& from, QTemporaryFile& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly) || !to.open()) return false;
    const QByteArray bytes = source.readAll();
    return to.write(bytes) == bytes.size() && to.flush();
}

}  // namespace

ClickSound::ClickSound(const QString& wave_file)
    : file_(QDir::tempPath() + QStringLiteral("/zepplayer-click-XXXXXX.wav")) {
    if (!CopyTo(wave_file, file_)) return;
    if (ca_context_create(&context_) != CA_SUCCESS) {
        context_ = nullptr;
        return;
    }
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "ZEP Player",
                            CA_PROP_APPLICATION_ID, "zepplayer", nullptr);
    // Connecting once here keeps a missing sound server from being looked
    // for again at every click.
    if (ca_context_open(context_) != CA_SUCCESS) {
        ca_context_destroy(context_);
        context_ = nullptr;
    }
}

ClickSound::~ClickSound() {
    if (context_) ca_context_destroy(context_);
}

void ClickSound::Play() {
    if (!context_) return;
    const QByteArray path = QFile::encodeName(file_.fileName());
    ca_context_cancel(context_, kClickId);
    ca_context_play(context_, kClickId, CA_PROP_MEDIA_FILENAME, path.constData(),
                    CA_PROP_EVENT_DESCRIPTION, "Stroke pause", nullptr);
}

}  // namespace shell_qt
