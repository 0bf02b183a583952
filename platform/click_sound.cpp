// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/click_sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace wheelwatcher {

namespace {

std::uint32_t ReadLittleEndian(const char* bytes, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
  return value;
}

// ALSA reports every failure on stderr as well; the program reports none.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// What the window and the sound thread share. The thread holds it too, so a thread left blocked
// on a device when the window ends still has it.
struct ClickSound::Player {
  Format format;
  std::mutex mutex;
  std::condition_variable changed;
  int pendingClicks = 0;
  bool playing = false;
  std::uint64_t clicksBegun = 0;  // clicks that began playing, or were given up
  bool stopping = false;
  bool finished = false;
  std::thread thread;
};

namespace {

constexpr std::chrono::milliseconds kWaitForLastClick{500};
// How long a press waits for its click to begin, so the sound starts before the window changes,
// as when the press played it itself. A device slower than this to open is not waited for; the
// clip itself lasts about 57 ms.
constexpr std::chrono::milliseconds kWaitForClickToBegin{50};
constexpr int kMaxPendingClicks = 1;

// `begun` is called once the device is open and set up, just before the first samples go to it.
void PlayOnce(const ClickSound::Format& format, const std::function<void()>& begun) {
  snd_lib_error_set_handler(IgnoreAlsaError);
  snd_pcm_t* device = nullptr;
  // A device held by another program would make a blocking open wait until it is freed and the
  // click come late: a busy device means no sound. The writes block again, at the device's pace.
  if (snd_pcm_open(&device, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
  if (snd_pcm_nonblock(device, 0) < 0) {
    snd_pcm_close(device);
    return;
  }
  const unsigned latencyMicroseconds = 50000;
  if (snd_pcm_set_params(device, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                         static_cast<unsigned>(format.channels),
                         static_cast<unsigned>(format.sampleRate), 1, latencyMicroseconds) == 0) {
    begun();
    const int frameBytes = 2 * format.channels;
    const char* next = format.samples.constData();
    snd_pcm_uframes_t framesLeft = format.samples.size() / frameBytes;
    while (framesLeft > 0) {
      snd_pcm_sframes_t written = snd_pcm_writei(device, next, framesLeft);
      if (written < 0) written = snd_pcm_recover(device, static_cast<int>(written), 1);
      if (written < 0) break;
      next += written * frameBytes;
      framesLeft -= static_cast<snd_pcm_uframes_t>(written);
    }
    snd_pcm_drain(device);
  }
  snd_pcm_close(device);
}

// Plays the clicks handed over until told to stop; clicks handed over before the stop are played.
void RunPlayer(const std::shared_ptr<ClickSound::Player>& player) {
  std::unique_lock lock(player->mutex);
  for (;;) {
    player->changed.wait(lock, [&] { return player->pendingClicks > 0 || player->stopping; });
    if (player->pendingClicks == 0) break;
    --player->pendingClicks;
    player->playing = true;
    const std::uint64_t click = player->clicksBegun + 1;
    const auto begun = [&player, click] {
      std::lock_guard beganLock(player->mutex);
      player->clicksBegun = std::max(player->clicksBegun, click);
      player->changed.notify_all();
    };
    lock.unlock();
    PlayOnce(player->format, begun);
    lock.lock();
    player->clicksBegun = std::max(player->clicksBegun, click);  // also when it never began
    player->playing = false;
    player->changed.notify_all();
  }
  player->finished = true;
  player->changed.notify_all();
}

}  // namespace

ClickSound::ClickSound(QByteArray wave, std::function<void()> defaultSound)
    : player_(std::make_shared<Player>()), defaultSound_(std::move(defaultSound)) {
  playable_ = ReadWave(wave, player_->format);
}

ClickSound::~ClickSound() {
  std::unique_lock lock(player_->mutex);
  if (!player_->thread.joinable()) return;
  player_->stopping = true;
  player_->changed.notify_all();
  const bool finished =
      player_->changed.wait_for(lock, kWaitForLastClick, [this] { return player_->finished; });
  std::thread thread = std::move(player_->thread);
  lock.unlock();
  if (finished) {
    thread.join();
  } else {
    thread.detach();
  }
}

bool ClickSound::ReadWave(const QByteArray& wave, Format& format) {
  const char* bytes = wave.constData();
  const qsizetype size = wave.size();
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool haveFormat = false;
  qsizetype offset = 12;
  while (offset + 8 <= size) {
    const char* chunk = bytes + offset;
    const qsizetype chunkSize = ReadLittleEndian(chunk + 4, 4);
    const qsizetype body = offset + 8;
    if (chunkSize > size - body) return false;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && chunkSize >= 16) {
      const auto encoding = ReadLittleEndian(chunk + 8, 2);
      const auto bitsPerSample = ReadLittleEndian(chunk + 22, 2);
      if (encoding != 1 || bitsPerSample != 16) return false;
      format.channels = static_cast<int>(ReadLittleEndian(chunk + 10, 2));
      format.sampleRate = static_cast<int>(ReadLittleEndian(chunk + 12, 4));
      haveFormat = format.channels > 0 && format.sampleRate > 0;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      format.samples = wave.mid(body, chunkSize);
      return haveFormat && !format.samples.isEmpty();
    }
    offset = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
  }
  return false;
}

void ClickSound::Play() {
  if (!playable_) {
    if (defaultSound_) defaultSound_();
    return;
  }
  std::unique_lock lock(player_->mutex);
  if (!player_->thread.joinable()) {
    // Made at the first click, not at start: most of a run's start-up cost is the first picture.
    try {
      player_->thread = std::thread(RunPlayer, player_);
    } catch (const std::system_error&) {
      return;  // no thread, no sound; the press goes on
    }
  }
  const bool idle = !player_->playing && player_->pendingClicks == 0;
  if (player_->pendingClicks < kMaxPendingClicks) ++player_->pendingClicks;
  player_->changed.notify_all();
  // A click that must wait for an earlier one is not waited for.
  if (idle) {
    const std::uint64_t click = player_->clicksBegun + 1;
    player_->changed.wait_for(lock, kWaitForClickToBegin,
                              [this, click] { return player_->clicksBegun >= click; });
  }
}

}  // namespace wheelwatcher
