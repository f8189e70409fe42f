#include "dsp/alsa_midi_output.h"

#include <alsa/asoundlib.h>

#include "dsp/alsa_quiet.h"

namespace ecg::dsp {

struct AlsaMidiOutput::Sequencer {
  snd_seq_t* handle = nullptr;
  int port = -1;
};

namespace {

constexpr unsigned kSynthTypes = SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_SYNTHESIZER |
                                 SND_SEQ_PORT_TYPE_DIRECT_SAMPLE | SND_SEQ_PORT_TYPE_SAMPLE;
constexpr unsigned kWritable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// The first port of another client that is a synthesizer and takes
// subscriptions; false when there is none.
bool FindSynthPort(snd_seq_t* seq, int& client_out, int& port_out) {
  snd_seq_client_info_t* client_info = nullptr;
  snd_seq_port_info_t* port_info = nullptr;
  if (snd_seq_client_info_malloc(&client_info) < 0) return false;
  if (snd_seq_port_info_malloc(&port_info) < 0) {
    snd_seq_client_info_free(client_info);
    return false;
  }
  const int self = snd_seq_client_id(seq);
  bool found = false;
  snd_seq_client_info_set_client(client_info, -1);
  while (!found && snd_seq_query_next_client(seq, client_info) >= 0) {
    const int client = snd_seq_client_info_get_client(client_info);
    if (client == SND_SEQ_CLIENT_SYSTEM || client == self) continue;
    snd_seq_port_info_set_client(port_info, client);
    snd_seq_port_info_set_port(port_info, -1);
    while (snd_seq_query_next_port(seq, port_info) >= 0) {
      const unsigned caps = snd_seq_port_info_get_capability(port_info);
      const unsigned type = snd_seq_port_info_get_type(port_info);
      if ((caps & kWritable) == kWritable && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0 &&
          (type & kSynthTypes) != 0) {
        client_out = client;
        port_out = snd_seq_port_info_get_port(port_info);
        found = true;
        break;
      }
    }
  }
  snd_seq_port_info_free(port_info);
  snd_seq_client_info_free(client_info);
  return found;
}

}  // namespace

AlsaMidiOutput::AlsaMidiOutput() = default;

AlsaMidiOutput::~AlsaMidiOutput() { Close(); }

bool AlsaMidiOutput::Open() {
  Close();
  QuietAlsaErrors();
  snd_seq_t* handle = nullptr;
  if (snd_seq_open(&handle, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0 || handle == nullptr) {
    return false;
  }
  auto seq = std::make_unique<Sequencer>();
  seq->handle = handle;
  snd_seq_set_client_name(handle, "Tidemark ECG");
  int client = -1, port = -1;
  if (!FindSynthPort(handle, client, port)) {
    snd_seq_close(handle);
    return false;
  }
  seq->port = snd_seq_create_simple_port(handle, "Beeps",
                                         SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                         SND_SEQ_PORT_TYPE_MIDI_GENERIC |
                                             SND_SEQ_PORT_TYPE_APPLICATION);
  if (seq->port < 0 || snd_seq_connect_to(handle, seq->port, client, port) < 0) {
    snd_seq_close(handle);
    return false;
  }
  destination_ = std::to_string(client) + ":" + std::to_string(port);
  seq_ = std::move(seq);
  return true;
}

bool AlsaMidiOutput::IsOpen() const { return seq_ != nullptr; }

bool AlsaMidiOutput::ShortMessage(uint32_t message) {
  if (!seq_) return false;
  const unsigned status = message & 0xFFu;
  const int channel = static_cast<int>(status & 0x0Fu);
  const int data1 = static_cast<int>((message >> 8) & 0x7Fu);
  const int data2 = static_cast<int>((message >> 16) & 0x7Fu);
  snd_seq_event_t ev;
  snd_seq_ev_clear(&ev);
  switch (status & 0xF0u) {
    case 0x80: snd_seq_ev_set_noteoff(&ev, channel, data1, data2); break;
    case 0x90: snd_seq_ev_set_noteon(&ev, channel, data1, data2); break;
    case 0xA0: snd_seq_ev_set_keypress(&ev, channel, data1, data2); break;
    case 0xB0: snd_seq_ev_set_controller(&ev, channel, data1, data2); break;
    case 0xC0: snd_seq_ev_set_pgmchange(&ev, channel, data1); break;
    case 0xD0: snd_seq_ev_set_chanpress(&ev, channel, data1); break;
    case 0xE0: snd_seq_ev_set_pitchbend(&ev, channel, (data1 | (data2 << 7)) - 8192); break;
    default: return false;  // not a channel message
  }
  snd_seq_ev_set_source(&ev, seq_->port);
  snd_seq_ev_set_subs(&ev);
  snd_seq_ev_set_direct(&ev);
  return snd_seq_event_output_direct(seq_->handle, &ev) >= 0;
}

void AlsaMidiOutput::Close() {
  if (!seq_) return;
  snd_seq_close(seq_->handle);
  seq_.reset();
  destination_.clear();
}

}  // namespace ecg::dsp
