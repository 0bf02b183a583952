// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>

// The click played before every action: a WAVE clip written to ALSA's "default" device and drained
// before Play() returns, so the action follows the sound as on the original hardware wheel.
class ClickSound {
 public:
  // wave: a whole RIFF WAVE file (16-bit PCM). When it is missing or unreadable, Play() calls
  // defaultSound instead, the way a desktop plays its alert for a missing sound.
  ClickSound(QByteArray wave, std::function<void()> defaultSound);

  // Blocks for the length of the clip. Without a usable sound device, or when another program holds
  // it, it returns at once, silently.
  void Play();

 private:
  struct Format {
    int channels = 0;
    int sampleRate = 0;
    QByteArray samples;
  };
  static bool ReadWave(const QByteArray& wave, Format& format);

  Format format_;
  bool playable_ = false;
  std::function<void()> defaultSound_;
};
