#include "fakes/fake_processes.h"

#include <algorithm>
#include <cstring>

namespace vsi::fake {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

class FakeChild : public IChildProcess {
 public:
  FakeChild(FakeProcesses& owner, ChildScript script) : owner_(owner), script_(std::move(script)) {
    ++owner_.openChildren;
    if (script_.exitAfterWaits == 0) End();
    Release();
  }
  ~FakeChild() override {
    --owner_.openChildren;
    if (!ended_) ++owner_.leftRunning;
  }

  bool Wait(uint32_t ms, const std::function<void()>& dispatch) override {
    ++owner_.waitCalls;
    owner_.waitTimeouts.push_back(ms);
    const auto& arrivals = owner_.messagesDuringWaits;
    if (std::find(arrivals.begin(), arrivals.end(), owner_.waitCalls) != arrivals.end()) {
      ++owner_.dispatchesDuringWaits;
      dispatch();
    }
    if (ended_) return true;
    ++waits_;
    if (script_.exitAfterWaits > 0 && waits_ >= script_.exitAfterWaits) {
      End();
      return true;
    }
    Release();
    return false;
  }

  bool Available(uint32_t& bytes) override {
    ++owner_.availableCalls;
    if (script_.peekFailsFrom > 0 && ++peeks_ >= script_.peekFailsFrom) return false;
    if (ended_ && pipe_.empty()) return false;  // ERROR_BROKEN_PIPE
    bytes = static_cast<uint32_t>(pipe_.size());
    return true;
  }

  void Terminate() override {
    if (ended_) return;
    ++owner_.terminations;
    ended_ = true;  // what it had not written yet is lost
  }

  uint32_t Read(uint8_t* buffer, uint32_t size) override {
    ++owner_.readCalls;
    if (pipe_.empty() && !ended_) {
      ++owner_.blockedReads;
      Release();  // as if the read waited for the child's next write
    }
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(size, pipe_.size()));
    if (n) {
      std::memcpy(buffer, pipe_.data(), n);
      pipe_.erase(0, n);
    }
    return n;
  }

 private:
  void Release() {
    if (next_ < script_.chunks.size()) pipe_ += script_.chunks[next_++];
  }
  void End() {
    ended_ = true;
    while (next_ < script_.chunks.size()) pipe_ += script_.chunks[next_++];
  }

  FakeProcesses& owner_;
  ChildScript script_;
  std::string pipe_;
  size_t next_ = 0;
  int waits_ = 0;
  int peeks_ = 0;
  bool ended_ = false;
};

}  // namespace

FakeProcesses::~FakeProcesses() = default;

void FakeProcesses::Script(const std::string& applicationPath, ChildScript script) {
  scripts_[Lower(applicationPath)] = std::move(script);
}

std::unique_ptr<IChildProcess> FakeProcesses::StartCaptured(const std::string& applicationPath,
                                                           const std::string& commandLine) {
  StartRecord rec{applicationPath, commandLine, false};
  auto it = scripts_.find(Lower(applicationPath));
  if (it == scripts_.end() || it->second.startFails) {
    starts.push_back(rec);
    return nullptr;
  }
  rec.started = true;
  starts.push_back(rec);
  return std::make_unique<FakeChild>(*this, it->second);
}

}  // namespace vsi::fake
