#include "dsp/alsa_wave_player.h"

#include <alsa/asoundlib.h>

#include <system_error>

#include "dsp/alsa_quiet.h"
#include "dsp/wave_file.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::dsp {

namespace {

constexpr uint64_t kMaxWaveFileSize = uint64_t{16} << 20;
constexpr unsigned kLatencyMicroseconds = 100000;
constexpr snd_pcm_uframes_t kChunkFrames = 1024;

// Writes the frames, checking the stop flag between chunks; a sound stopped
// early is dropped, one played to its end is drained.
void PlayFrames(snd_pcm_t* pcm, const WaveData& wave, const std::atomic<bool>& stop) {
  const uint8_t* p = wave.samples.data();
  snd_pcm_uframes_t left = wave.frame_count();
  while (left > 0 && !stop.load()) {
    const snd_pcm_uframes_t n = left < kChunkFrames ? left : kChunkFrames;
    snd_pcm_sframes_t written = snd_pcm_writei(pcm, p, n);
    if (written < 0) {
      if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) return;
      continue;
    }
    p += static_cast<size_t>(written) * wave.format.block_align;
    left -= static_cast<snd_pcm_uframes_t>(written);
  }
  if (stop.load()) {
    snd_pcm_drop(pcm);
  } else {
    snd_pcm_drain(pcm);
  }
}

}  // namespace

AlsaWavePlayer::~AlsaWavePlayer() {
  stop_ = true;
  std::lock_guard lock(mutex_);
  if (worker_.joinable()) worker_.join();
}

bool AlsaWavePlayer::PlayMemory(std::shared_ptr<const std::vector<uint8_t>> wave) {
  std::lock_guard lock(mutex_);
  if (playing_.load()) return false;  // a playing sound is never cut short
  if (worker_.joinable()) worker_.join();
  if (!wave) return ecg::platform::Fail(ecg::platform::kErrorInvalidParameter);
  WaveData data;
  if (!ParseWave(*wave, data)) return false;

  QuietAlsaErrors();
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    return ecg::platform::Fail(ecg::platform::kErrorFileNotFound);
  }
  const snd_pcm_format_t format =
      data.format.bits_per_sample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (snd_pcm_nonblock(pcm, 0) < 0 ||
      snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, data.format.channels,
                         data.format.sample_rate, 1, kLatencyMicroseconds) < 0) {
    snd_pcm_close(pcm);
    return ecg::platform::Fail(ecg::platform::kErrorGeneralFailure);
  }
  stop_ = false;
  playing_ = true;
  try {
    worker_ = std::thread([this, pcm, data, wave] {
      PlayFrames(pcm, data, stop_);
      snd_pcm_close(pcm);
      playing_ = false;
    });
  } catch (const std::system_error&) {
    snd_pcm_close(pcm);
    playing_ = false;
    return ecg::platform::Fail(ecg::platform::kErrorGeneralFailure);
  }
  return true;
}

bool AlsaWavePlayer::PlayFile(const std::string& path) {
  if (playing_.load()) return false;
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (!ecg::platform::ReadWholeFile(path, *bytes, kMaxWaveFileSize)) return false;
  return PlayMemory(std::move(bytes));
}

}  // namespace ecg::dsp
