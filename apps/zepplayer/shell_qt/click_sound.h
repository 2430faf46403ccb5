// The click at each pause, played as a desktop event sound (libcanberra).
// Qt 6.4's sound effect loses about half of the clicks on PulseAudio, and its
// audio sink, fed from a device, stalls unless the server's buffer is a whole
// number of its periods; the event-sound library gives every click a stream
// of its own and keeps it until the click has sounded.
#pragma once

#include <QString>
#include <QTemporaryFile>

struct ca_context;

namespace shell_qt {

class ClickSound {
public:
    // The sound is read from wave_file (a Qt resource is fine). Silent when
    // there is no sound server or the sound cannot be read.
    explicit ClickSound(const QString& wave_file);
    ~ClickSound();
    ClickSound(const ClickSound&) = delete;
    ClickSound& operator=(const ClickSound&) = delete;

    // Starts the click and returns; a click still sounding is cut off.
    void Play();

private:
    // The library plays files by name, so the click is copied out of the
    // program into a file that lives as long as this object.
    QTemporaryFile file_;
    ca_context* context_ = nullptr;
};

}  // namespace shell_qt
