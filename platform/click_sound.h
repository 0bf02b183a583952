// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>
#include <thread>

namespace wheelwatcher {

// The click played before every action: a WAVE clip written to ALSA's "default" device by a thread
// of its own. Play() returns once the clip has begun (waiting 50 ms at most), so the click starts
// before the action changes the window, and a device that blocks (a stalled sound server, a
// plug-in writing into a pipe nobody reads) can delay or swallow clicks but never a press or the
// closing of the window.
class ClickSound {
 public:
  // wave: a whole RIFF WAVE file (16-bit PCM). When it is missing or unreadable, Play() calls
  // defaultSound instead, the way a desktop plays its alert for a missing sound.
  ClickSound(QByteArray wave, std::function<void()> defaultSound);
  // Lets a click that is playing end, waiting for it at most about half a second; a device that
  // blocks for longer keeps only the sound thread, which ends with the process.
  ~ClickSound();
  ClickSound(const ClickSound&) = delete;
  ClickSound& operator=(const ClickSound&) = delete;

  // Starts the clip. Without a usable sound device, or when another program holds it, there is no
  // sound. A press while a click is still being played plays one more click after it; further
  // presses meanwhile add none.
  void Play();

  struct Format {
    int channels = 0;
    int sampleRate = 0;
    QByteArray samples;
  };
  // What the window and the sound thread share.
  struct Player;

 private:
  static bool ReadWave(const QByteArray& wave, Format& format);

  std::shared_ptr<Player> player_;
  bool playable_ = false;
  std::function<void()> defaultSound_;
};

}  // namespace wheelwatcher
