#include "alarm/alarmsound.h"

#include <mmsystem.h>

#include <string>

#include "platform/codepage.h"
#include "platform/handles.h"
#include "settings/keys.h"
#include "settings/textforms.h"
#include "store/alarmcall.h"

namespace lq::alarm {
namespace {

// Only a file that begins like a wave file is handed to PlaySound: an asynchronous PlaySound
// reports success before it has read the file, so a wrong file would otherwise ring nothing.
bool FileLooksLikeWave(const std::filesystem::path& path) {
  win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char head[12] = {};
  DWORD got = 0;
  if (!::ReadFile(file.Get(), head, sizeof head, &got, nullptr)) return false;
  return LooksLikeWave(std::string_view(head, got));
}

void RingSystemSound() {
  if (!::PlaySoundW(L"SystemExclamation", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT)) {
    ::MessageBeep(MB_ICONEXCLAMATION);
  }
}

}  // namespace

SoundChoice ReadSoundChoice(const Profile& settings, const std::filesystem::path& folder) {
  SoundChoice choice;
  // The default is built here as a path rather than as code-page-932 text, so a folder whose
  // name code page 932 cannot hold still finds the sound beside the program.
  const std::string value = ReadText(settings, keys::AlarmWav, "");
  if (value.empty()) {
    choice.wav = folder / win::FromCp932(keys::AlarmWav.defaultText);
  } else {
    std::filesystem::path wav(win::FromCp932(value));
    choice.wav = wav.is_relative() ? folder / wav : wav;
  }
  choice.loop = ReadBoolean(settings, keys::AlarmLoop);
  return choice;
}

void AlarmSound::Start(const SoundChoice& choice, HWND owner) {
  Stop();
  owner_ = owner;
  if (FileLooksLikeWave(choice.wav)) {
    const DWORD flags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT | (choice.loop ? SND_LOOP : 0);
    if (::PlaySoundW(choice.wav.c_str(), nullptr, flags)) {
      source_ = kSoundFile;
      return;
    }
  }
  source_ = kSoundSystem;
  RingSystemSound();
  if (choice.loop && owner_) repeating_ = ::SetTimer(owner_, kRepeatTimer, kRepeatMilliseconds, nullptr) != 0;
}

void AlarmSound::OnRepeatTimer() {
  if (source_ == kSoundSystem && repeating_) RingSystemSound();
}

void AlarmSound::Stop() {
  if (repeating_ && owner_) ::KillTimer(owner_, kRepeatTimer);
  repeating_ = false;
  if (source_ != kSoundNone) ::PlaySoundW(nullptr, nullptr, 0);
  source_ = kSoundNone;
}

}  // namespace lq::alarm
