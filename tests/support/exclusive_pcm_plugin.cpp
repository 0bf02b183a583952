// SPDX-License-Identifier: GPL-3.0-or-later
// An ALSA output plugin for tests that stands for a sound device only one program can hold at a
// time, as a hardware device without mixing does: while one has it open, a blocking open waits
// until it is closed and a non-blocking open fails at once with EBUSY. Audio passes on to the
// slave. Configuration: type exclusive; lock "<file>"; log "<file>" (one line per open: its mode);
// slave.pcm <the device behind it>.

#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct ExclusivePcm {
  snd_pcm_extplug_t plugin{};
  int lockFile = -1;
};

snd_pcm_sframes_t Transfer(snd_pcm_extplug_t* plugin, const snd_pcm_channel_area_t* destination,
                           snd_pcm_uframes_t destinationOffset,
                           const snd_pcm_channel_area_t* source, snd_pcm_uframes_t sourceOffset,
                           snd_pcm_uframes_t frames) {
  snd_pcm_areas_copy(destination, destinationOffset, source, sourceOffset, plugin->channels, frames,
                     plugin->format);
  return static_cast<snd_pcm_sframes_t>(frames);
}

int Close(snd_pcm_extplug_t* plugin) {
  auto* pcm = static_cast<ExclusivePcm*>(plugin->private_data);
  close(pcm->lockFile);  // frees the device for the next open
  delete pcm;
  return 0;
}

snd_pcm_extplug_callback_t callbacks = [] {
  snd_pcm_extplug_callback_t table{};
  table.transfer = Transfer;
  table.close = Close;
  return table;
}();

void LogOpen(const char* logPath, int mode) {
  if (FILE* log = std::fopen(logPath, "a")) {
    std::fputs((mode & SND_PCM_NONBLOCK) ? "nonblock\n" : "block\n", log);
    std::fclose(log);
  }
}

}  // namespace

extern "C" SND_PCM_PLUGIN_DEFINE_FUNC(exclusive) {
  snd_config_t* slave = nullptr;
  const char* lockPath = nullptr;
  const char* logPath = nullptr;
  snd_config_iterator_t i, next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* entry = snd_config_iterator_entry(i);
    const char* id = nullptr;
    if (snd_config_get_id(entry, &id) < 0) continue;
    if (std::strcmp(id, "slave") == 0) slave = entry;
    if (std::strcmp(id, "lock") == 0) snd_config_get_string(entry, &lockPath);
    if (std::strcmp(id, "log") == 0) snd_config_get_string(entry, &logPath);
  }
  if (slave == nullptr || lockPath == nullptr || logPath == nullptr) return -EINVAL;
  LogOpen(logPath, mode);

  const int lockFile = open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFile < 0) return -errno;
  if (flock(lockFile, LOCK_EX | ((mode & SND_PCM_NONBLOCK) ? LOCK_NB : 0)) != 0) {
    close(lockFile);
    return -EBUSY;
  }
  auto* pcm = new ExclusivePcm;
  pcm->lockFile = lockFile;
  pcm->plugin.version = SND_PCM_EXTPLUG_VERSION;
  pcm->plugin.name = "exclusive test device";
  pcm->plugin.callback = &callbacks;
  pcm->plugin.private_data = pcm;
  const int error = snd_pcm_extplug_create(&pcm->plugin, name, root, slave, stream, mode);
  if (error < 0) {
    close(lockFile);
    delete pcm;
    return error;
  }
  *pcmp = pcm->plugin.pcm;
  return 0;
}

extern "C" {
SND_PCM_PLUGIN_SYMBOL(exclusive);
}
