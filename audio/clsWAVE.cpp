#include "audio/clsWAVE.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "util/encoding.h"
#include "util/strings.h"

namespace kotonel {

namespace {

constexpr size_t kHeaderSize = 44;

void PutLe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes RecordingHeader() {
  Bytes h(kHeaderSize, 0);
  auto put = [&](size_t at, const char* tag) { std::copy(tag, tag + 4, h.begin() + at); };
  put(0, "RIFF");
  put(8, "WAVE");
  put(12, "fmt ");
  PutLe32(h, 16, 16);
  h[20] = 1;  // PCM
  h[22] = 1;  // mono
  PutLe32(h, 24, 8000);
  PutLe32(h, 28, 16000);
  h[32] = 2;
  h[34] = 16;
  put(36, "data");
  return h;
}

}  // namespace

clsWAVE::clsWAVE(std::unique_ptr<AudioDevice> device, std::unique_ptr<VoiceLibrary> voices)
    : device_(std::move(device)), voices_(std::move(voices)) {
  deviceOpen_ = device_ && device_->Open();
}

clsWAVE::~clsWAVE() {
  if (deviceOpen_) {
    CANCEL();
    device_->Close();
  }
  DropRecording();
}

void clsWAVE::RECORD(bool on) {
  DropRecording();
  recordFlag_ = on;
  recordLength_ = on ? kHeaderSize : 0;
  recordError_.clear();
}

void clsWAVE::SPEED(int32_t speed) {
  speed_ = std::clamp(speed, 50, 300);
}

bool clsWAVE::IsPLAY() {
  uint64_t position = 0;
  if (!deviceOpen_ || !device_->Position(position)) return false;
  return static_cast<int64_t>(position) < playLength_;
}

int32_t clsWAVE::PLAY() {
  playLength_ = -1;
  if (!deviceOpen_) return kDeviceNotOpen;
  if (word_.empty()) return kEmptyWord;
  CANCEL();
  if (!Synthesize()) return kSynthesisFailed;
  ApplyVolume(samples_, volume_);
  if (recordFlag_) {
    if (int32_t rc = AppendRecording(SilenceAfter(word_.back())); rc != 0) return rc;
  }
  playLength_ = static_cast<int64_t>(samples_.size() - kHeaderSize);
  device_->NoteText(word_);
  if (!device_->Prepare(samples_.data() + kHeaderSize, samples_.size() - kHeaderSize))
    return kPrepareFailed;
  prepared_ = true;
  if (!device_->Write()) return kWriteFailed;
  return 0;
}

bool clsWAVE::Synthesize() {
  int32_t size = 0;
  std::string koe = ToCp932(word_);
  const uint8_t* image =
      voices_ ? voices_->Synthe(voice_, koe, static_cast<int16_t>(speed_), size) : nullptr;
  if (image == nullptr || size < static_cast<int32_t>(kHeaderSize)) {
    lastError_ = voices_ ? voices_->LastError() : std::string("音声ライブラリがありません");
    if (image) voices_->FreeWave(voice_, image);
    return false;
  }
  samples_.assign(image, image + size);
  voices_->FreeWave(voice_, image);
  lastError_.clear();
  return true;
}

void clsWAVE::ApplyVolume(Bytes& image, int32_t volume) {
  if (volume == 20) return;
  for (size_t i = kHeaderSize; i + 1 < image.size(); i += 2) {
    int16_t v = static_cast<int16_t>(image[i] | image[i + 1] << 8);
    int64_t scaled = RoundHalfEven(static_cast<double>(v) * volume / 20.0);
    scaled = std::clamp<int64_t>(scaled, -32768, 32767);
    auto u = static_cast<uint16_t>(static_cast<int16_t>(scaled));
    image[i] = static_cast<uint8_t>(u & 0xFF);
    image[i + 1] = static_cast<uint8_t>(u >> 8);
  }
}

uint32_t clsWAVE::SilenceAfter(char32_t last) {
  switch (last) {
    case U'？':
    case U'。':
      return 6400;
    case U'、':
    case U'/':
      return 4800;
    case U',':
      return 1600;
    default:
      return 800;
  }
}

bool clsWAVE::PAUSE() {
  return deviceOpen_ && device_->Pause();
}

bool clsWAVE::RESTART() {
  return deviceOpen_ && device_->Restart();
}

bool clsWAVE::CANCEL() {
  if (!deviceOpen_ || !prepared_) return false;
  if (!device_->Reset()) return false;
  if (!device_->Unprepare()) return false;
  std::fill(samples_.begin(), samples_.end(), 0);
  playLength_ = 0;
  prepared_ = false;
  return true;
}

int32_t clsWAVE::AppendRecording(uint32_t silence) {
  uint64_t add = samples_.size() - kHeaderSize + silence;
  if (recordLength_ + add > recordLimit_) {
    // Stops before the length fields would wrap; what was recorded so far stays savable.
    lastError_ = "the recording has reached the largest size a WAV file can hold (" +
                 std::to_string(recordLength_) + " bytes)";
    return kRecordingFull;
  }
  static const uint8_t kSilence[6400] = {};
  bool ok = EnsureRecordingFile() &&
            WriteRecording(samples_.data() + kHeaderSize, samples_.size() - kHeaderSize);
  while (ok && silence > 0) {
    uint32_t n = std::min<uint32_t>(silence, sizeof kSilence);
    ok = WriteRecording(kSilence, n);
    silence -= n;
  }
  if (!ok) {
    lastError_ = recordError_;
    return kRecordingFailed;
  }
  return 0;
}

bool clsWAVE::EnsureRecordingFile() {
  if (recordReady_) return true;
  if (!recordPath_.empty() && !recordOut_) {
    recordOut_ = std::make_unique<OutputFile>();
    if (!recordOut_->Open(recordPath_)) {
      recordError_ = recordOut_->Error();
      recordOut_.reset();
    }
  }
  if (!(recordOut_ && recordOut_->CanSeek()) && spoolFd_ < 0) {
    // A device, a FIFO or a file not yet named takes the recording only at SAVE: until then it
    // waits in a file without a name, gone with the process.
    const char* dir = std::getenv("TMPDIR");
    std::string folder = dir && *dir ? dir : "/tmp";
    spoolFd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (spoolFd_ < 0) {
      std::string name = folder + "/kotonel-recording-XXXXXX";
      spoolFd_ = ::mkostemp(name.data(), O_CLOEXEC);
      if (spoolFd_ >= 0) ::unlink(name.c_str());
    }
    if (spoolFd_ < 0) {
      recordError_ = folder + ": " + std::strerror(errno);
      return false;
    }
  }
  uint64_t length = recordLength_;
  recordLength_ = 0;
  recordReady_ = true;
  Bytes header = RecordingHeader();
  if (!WriteRecording(header.data(), header.size())) return false;
  recordLength_ = length;
  return true;
}

bool clsWAVE::WriteRecording(const void* data, size_t size) {
  if (recordOut_ && recordOut_->CanSeek()) {
    if (!recordOut_->Write(data, size)) {
      recordError_ = recordOut_->Error();
      return false;
    }
  } else {
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    while (left > 0) {
      ssize_t n = ::write(spoolFd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        recordError_ = std::string("temporary recording: ") + std::strerror(n < 0 ? errno : EIO);
        return false;
      }
      p += n;
      left -= static_cast<size_t>(n);
    }
  }
  recordLength_ += size;
  return true;
}

bool clsWAVE::OpenRecording() {
  if (!recordFlag_) return true;
  EnsureRecordingFile();
  return recordError_.empty();
}

bool clsWAVE::FinishRecording(const std::string& path) {
  uint64_t length = recordLength_;
  if (!EnsureRecordingFile()) return false;
  recordLength_ = length;
  Bytes header = RecordingHeader();
  PutLe32(header, 4, static_cast<uint32_t>(length - 8));
  PutLe32(header, 40, static_cast<uint32_t>(length - kHeaderSize));
  bool inTarget = recordOut_ && recordOut_->CanSeek();
  if (inTarget) {
    if (!recordOut_->WriteAt(0, header.data(), header.size())) {
      recordError_ = recordOut_->Error();
      return false;
    }
    if (recordOut_->Path() == path) {
      if (recordOut_->Commit()) return true;
      recordError_ = recordOut_->Error();
      return false;
    }
  } else if (::pwrite(spoolFd_, header.data(), header.size(), 0) !=
             static_cast<ssize_t>(header.size())) {
    recordError_ = std::string("temporary recording: ") + std::strerror(errno);
    return false;
  }
  // The samples are elsewhere (a nameless file, or beside another path): copy them over.
  int source = inTarget ? recordOut_->Descriptor() : spoolFd_;
  OutputFile fresh;
  OutputFile* out = &fresh;
  if (!inTarget && recordOut_ && recordOut_->IsOpen() && recordOut_->Path() == path)
    out = recordOut_.get();
  else if (!fresh.Open(path)) {
    recordError_ = fresh.Error();
    return false;
  }
  std::vector<uint8_t> chunk(1 << 20);
  for (uint64_t at = 0; at < length;) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), length - at));
    ssize_t n = ::pread(source, chunk.data(), want, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      recordError_ = std::string("temporary recording: ") + std::strerror(n < 0 ? errno : EIO);
      out->Discard();
      return false;
    }
    if (!out->Write(chunk.data(), static_cast<size_t>(n))) {
      recordError_ = out->Error();
      return false;
    }
    at += static_cast<uint64_t>(n);
  }
  if (out->Commit()) return true;
  recordError_ = out->Error();
  return false;
}

void clsWAVE::DropRecording() {
  recordOut_.reset();  // an uncommitted temporary file goes with it
  if (spoolFd_ >= 0) ::close(spoolFd_);
  spoolFd_ = -1;
  recordReady_ = false;
}

bool clsWAVE::SAVE(const std::string& path) {
  if (!recordFlag_) return true;
  recordFlag_ = false;
  bool ok = FinishRecording(path);
  DropRecording();
  recordLength_ = 0;
  return ok;
}

std::u32string SpeechErrorText(int32_t code) {
  switch (code) {
    case 100:
      return U"その他のエラー";
    case 101:
      return U"音声デバイスを開けませんでした";
    case 102:
    case 105:
      return U"音声記号列に未定義の読み記号が指定された";
    case 103:
      return U"韻律データの時間長がマイナスなっている";
    case 104:
      return U"内部エラー(未定義の区切りコード検出)";
    case 106:
      return U"音声記号列のタグの指定が正しくない";
    case 107:
      return U"タグの長さが制限を越えている(または[>]がみつからない)";
    case 108:
      return U"タグ内の値の指定が正しくない";
    case 109:
      return U"WAVE 再生ができない(サウンドドライバ関連の問題)";
    case 110:
      return U"WAVE 再生ができない(サウンドドライバ関連の問題 非同期再生)";
    case 111:
      return U"発声すべきデータがない";
    case 200:
      return U"音声記号列が長すぎる";
    case 201:
      return U"読み上げる音声記号がありません";
    case 202:
      return U"音声記号列が長い (内部バッファオーバー1)";
    case 203:
      return U"ヒープメモリ不足";
    case 204:
      return U"音声記号列が長い (内部バッファオーバー2)";
    case 401:
    case 501:
      return U"音声データを再生装置に渡せませんでした";
    case 601:
      return U"録音が WAV ファイルの大きさの上限（4 GiB）に達したため止めました";
    case 602:
      return U"録音をファイルに書き込めませんでした";
    default:
      return U"文中に漢字等が含まれている／文字列の冗長";
  }
}

std::u32string SpeechErrorMessage(int32_t code) {
  return U"読み上げエラー「" + FromUtf8(std::to_string(code)) + U":" + SpeechErrorText(code) +
         U"」";
}

}  // namespace kotonel
