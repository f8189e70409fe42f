#include "dsp/wave_sounds.h"

#include <sys/stat.h>

#include "platform/byte_stream.h"
#include "platform/folders.h"
#include "platform/prompt.h"
#include "platform/registry.h"

namespace ecg::dsp {

namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string RegistryLocation() {
  using ecg::platform::RegistryHive;
  for (RegistryHive hive : {RegistryHive::kCurrentUser, RegistryHive::kLocalMachine}) {
    std::string value;
    if (ecg::platform::RegistryReadString(hive, kApplicationKey, kApplicationLocationValue,
                                          value) &&
        !value.empty()) {
      while (value.size() > 1 && value.back() == '/') value.pop_back();
      return value;
    }
  }
  return {};
}

}  // namespace

std::string WaveFolder() {
  std::string folder = RegistryLocation();
  if (!folder.empty()) return folder;
  const std::string module = ecg::platform::ModuleFolder();
  const std::string candidates[] = {
      module,
      module + "/../share/tidemark",
      module + "/data",
#ifdef ECG_BUILD_DATA_DIR
      ECG_BUILD_DATA_DIR,
#endif
  };
  for (const auto& candidate : candidates) {
    if (IsFile(candidate + "/" + std::string(kBeatWaveName))) return candidate;
  }
  return module;
}

bool WaveSounds::Load(const std::string& folder, ecg::platform::Prompt& prompt,
                      std::string_view caption) {
  const std::string_view names[] = {kBeatWaveName, kLeadOffWaveName};
  bool all = true;
  for (int i = 0; i < 2; ++i) {
    paths_[i] = folder + "/" + std::string(names[i]);
    memory_[i].reset();
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    if (ecg::platform::ReadWholeFile(paths_[i], *bytes, kMaxWaveFileSize)) {
      memory_[i] = std::move(bytes);
    } else {
      all = false;
      prompt.Show(kWaveLoadFailedText, caption, ecg::platform::PromptButtons::kOk,
                  ecg::platform::PromptIcon::kWarning);
    }
  }
  return all;
}

bool WaveSounds::Play(Which which, WavePlayer& player) const {
  if (memory_[which]) return player.PlayMemory(memory_[which]);
  if (paths_[which].empty()) return false;
  return player.PlayFile(paths_[which]);
}

}  // namespace ecg::dsp
