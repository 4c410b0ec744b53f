// Peer check, native: for every source the icons test left under
// <peer>/<file>/ (copy-<file>, a copy of the prefix's <file>, and the .ico
// files Corvel wrote beside it), icoutils' `wrestool -x -t14` extracts the icon groups of
// the prefix's own file, and each group must have the same name, the same
// entry count and the same image bytes (bytes 20-23 of each image aside:
// Corvel writes a bitmap's image-size field as 0).
//   icons_peer_check PEER_FOLDER PREFIX_SYSTEM32
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b.at(at + i));
  return v;
}

// The images of an .ico file, each as its bytes with 20-23 blanked.
std::optional<std::vector<std::string>> Images(const std::string& ico, std::string& why) {
  if (ico.size() < 6 || Le(ico, 0, 2) != 0 || Le(ico, 2, 2) != 1) {
    why = "no icon file header";
    return std::nullopt;
  }
  const std::uint32_t count = Le(ico, 4, 2);
  if (ico.size() < 6 + 16 * count) {
    why = "entries cut short";
    return std::nullopt;
  }
  std::vector<std::string> images;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t size = Le(ico, 6 + 16 * i + 8, 4), offset = Le(ico, 6 + 16 * i + 12, 4);
    if (offset > ico.size() || size > ico.size() - offset) {
      why = "image " + std::to_string(i) + " outside the file";
      return std::nullopt;
    }
    std::string image = ico.substr(offset, size);
    if (image.size() >= 24) image.replace(20, 4, 4, '\0');
    images.push_back(image);
  }
  return images;
}

int Fail(const std::string& what) {
  std::cout << "not ok - " << what << "\n";
  return 1;
}

// wrestool names its files <file>_14_<name>_<language>.ico.
std::map<std::string, std::vector<fs::path>> WrestoolGroups(const fs::path& source, const fs::path& out) {
  fs::remove_all(out);
  fs::create_directories(out);
  const std::string command = "wrestool -x -t14 -o '" + out.string() + "/' '" + source.string() + "' 2>&1";
  if (std::system(command.c_str()) != 0) std::cout << "# wrestool reported an error for " << source << "\n";
  std::map<std::string, std::vector<fs::path>> groups;
  const std::string prefix = source.filename().string() + "_14_";
  for (const auto& entry : fs::directory_iterator(out)) {
    std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || entry.path().extension() != ".ico") continue;
    name = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    name = name.substr(0, name.rfind('_'));
    groups[name].push_back(entry.path());
  }
  return groups;
}

int CheckSource(const fs::path& folder, const fs::path& system32) {
  const std::string file = folder.filename().string();
  const fs::path original = system32 / file;
  const auto copy = Read(folder / ("copy-" + file)), prefixFile = Read(original);
  if (!copy || !prefixFile) return Fail(file + ": source missing (" + original.string() + ")");
  if (*copy != *prefixFile) return Fail(file + ": the copy Corvel read differs from the prefix's file");

  std::map<std::string, fs::path> corvel;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".ico") corvel[entry.path().stem().string()] = entry.path();
  const auto peer = WrestoolGroups(original, folder.string() + ".wrestool");
  if (peer.empty()) return Fail(file + ": wrestool extracted no icon group");

  int failures = 0;
  for (const auto& [name, path] : corvel)
    if (!peer.count(name)) failures += Fail(file + ": " + name + ".ico has no group of that name in wrestool's output");
  std::size_t images = 0;
  for (const auto& [name, variants] : peer) {
    auto it = corvel.find(name);
    if (it == corvel.end()) {
      failures += Fail(file + ": group " + name + " was not written");
      continue;
    }
    std::string why;
    const auto ours = Images(*Read(it->second), why);
    if (!ours) {
      failures += Fail(file + ": " + name + ".ico: " + why);
      continue;
    }
    // A group in several languages: Corvel writes the one the system finds.
    bool same = false;
    std::string diff;
    for (const fs::path& variant : variants) {
      const auto theirs = Images(*Read(variant), why);
      if (!theirs) diff = "wrestool's file: " + why;
      else if (theirs->size() != ours->size())
        diff = std::to_string(ours->size()) + " entries, wrestool " + std::to_string(theirs->size());
      else if (*theirs != *ours) diff = "image bytes differ";
      else same = true;
    }
    if (!same) failures += Fail(file + ": " + name + ".ico: " + diff);
    images += ours->size();
  }
  if (failures == 0)
    std::cout << "ok - " << file << ": " << corvel.size() << " groups, " << images << " images as wrestool\n";
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: icons_peer_check PEER_FOLDER PREFIX_SYSTEM32\n";
    return 2;
  }
  const fs::path peer = argv[1], system32 = argv[2];
  if (std::system("wrestool --version >/dev/null 2>&1") != 0) return Fail("wrestool is not installed (icoutils)");
  if (!fs::is_directory(peer)) return Fail(peer.string() + " is missing: run win.icons_test first");
  int failures = 0, sources = 0;
  for (const auto& entry : fs::directory_iterator(peer)) {
    if (!entry.is_directory() || entry.path().extension() == ".wrestool") continue;
    ++sources;
    failures += CheckSource(entry.path(), system32);
  }
  if (sources < 2) failures += Fail("fewer than two sources under " + peer.string());
  std::cout << sources << " sources, " << failures << " failures\n";
  return failures == 0 ? 0 : 1;
}
