#include "app/system/wave_player_win32.h"

#include <windows.h>
#include <mmsystem.h>

namespace app {

AsyncWavePlayer::~AsyncWavePlayer() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void AsyncWavePlayer::Play(std::u16string path) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    waiting_.push_back(std::move(path));
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

void AsyncWavePlayer::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    const std::u16string path = std::move(waiting_.front());
    waiting_.pop_front();
    lock.unlock();
    PlaySoundW(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
    lock.lock();
  }
}

}  // namespace app
