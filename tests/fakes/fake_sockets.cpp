#include "fakes/fake_sockets.h"

namespace vsi::fake {

namespace {
std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}
}  // namespace

FakeSockets::FakeSockets() { addresses["velmora-pc"] = {"192.168.1.20"}; }

bool FakeSockets::Startup() {
  if (startupFails) return false;
  ++startups;
  ++active_;
  return true;
}

void FakeSockets::Cleanup() {
  ++cleanups;
  if (active_ > 0) --active_;
}

bool FakeSockets::GetHostName(std::string& out) {
  if (active_ == 0) {
    ++callsWithoutStartup;
    return false;
  }
  if (hostNameFails) return false;
  out = hostName;
  return true;
}

bool FakeSockets::GetHostAddresses(const std::string& host, std::vector<std::string>& out) {
  if (active_ == 0) {
    ++callsWithoutStartup;
    return false;
  }
  ++lookups;
  if (whileResolving) whileResolving(host);
  if (resolveFails) return false;
  for (const auto& [name, list] : addresses) {
    if (Lower(name) == Lower(host)) {
      out = list;
      return true;
    }
  }
  return false;
}

}  // namespace vsi::fake
