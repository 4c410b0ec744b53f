// Writes every icon group of a program or library as an .ico file next to
// it. Portable logic over two small ports: the resources of the loaded source
// and the files of the target folder; icon_extractor_win.cpp is the Win32 side.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/language.h"
#include "icons/icon_format.h"

namespace corvel::icons {

// A resource name: a 16-bit number or a text.
struct ResourceName {
  bool numeric = false;
  std::uint16_t id = 0;
  std::wstring text;
  static ResourceName Number(std::uint16_t id) { return {true, id, {}}; }
  static ResourceName Text(std::wstring text) { return {false, 0, std::move(text)}; }
  // A text as it stands, a number in decimal: the name of the group's file.
  std::wstring Display() const { return numeric ? std::to_wstring(id) : text; }
};

// The bytes of one resource. `bytes` stays valid while the module lives.
struct ResourceData {
  enum class Status { Found, Missing, Unreadable };  // Unreadable: its size or data cannot be taken
  Status status = Status::Missing;
  Bytes bytes;
};

// The resources of one source file, loaded as data (its code never runs).
class IconModule {
 public:
  virtual ~IconModule() = default;
  // Every RT_GROUP_ICON name, in enumeration order.
  virtual std::vector<ResourceName> GroupNames() = 0;
  virtual ResourceData Group(const ResourceName& name) = 0;  // RT_GROUP_ICON
  virtual ResourceData Image(std::uint16_t id) = 0;          // RT_ICON
};

class IconModuleLoader {
 public:
  virtual ~IconModuleLoader() = default;
  // nullptr when the file cannot be loaded as a data file.
  virtual std::unique_ptr<IconModule> Load(const std::wstring& path) = 0;
};

// One file created by IconFiles::CreateNew, open for writing.
class IconTarget {
 public:
  virtual ~IconTarget() = default;
  // True when every byte was written; `error` is the system's code of a
  // failed call, 0 for a short write.
  virtual bool Write(Bytes bytes, std::uint32_t& error) = 0;
  virtual bool Close(std::uint32_t& error) = 0;
};

class IconFiles {
 public:
  virtual ~IconFiles() = default;
  // A file or folder of that name exists.
  virtual bool Exists(const std::wstring& path) = 0;
  struct Created {
    enum class Status { Created, Exists, Failed } status = Status::Failed;
    std::uint32_t error = 0;  // the system's code when Failed
    std::unique_ptr<IconTarget> file;
  };
  // Creates the file only when no file of that name exists; never replaces one.
  virtual Created CreateNew(const std::wstring& path) = 0;
  virtual bool Remove(const std::wstring& path) = 0;
};

// What became of one group.
enum class GroupResult {
  Written,
  Exists,        // a file of the target's name was there: left as it is
  Unreadable,    // the group, its directory or one of its images is missing or malformed
  BadName,       // the name is no plain file name (separators, reserved device names...)
  CreateFailed,  // the target could not be created
  WriteFailed,   // created, but not written in full; removed again
};

struct GroupOutcome {
  std::wstring name;
  GroupResult result = GroupResult::Unreadable;
  std::uint32_t error = 0;  // the system's code of a failed create or write call
};

// Writes one group of a loaded source as the icon file target. The group is
// found first by groupName as a text name, then by the number it reads as.
// Everything is read before the target is created; a target that was not
// written in full is removed.
GroupOutcome WriteIconGroup(IconModule& source, IconFiles& files, const std::wstring& target,
                            const std::wstring& groupName);

// The same for a source file not loaded yet; Unreadable when it cannot be loaded.
GroupOutcome WriteIconGroupFile(IconModuleLoader& loader, IconFiles& files, const std::wstring& source,
                                const std::wstring& target, const std::wstring& groupName);

// The progress bar's steps: the maximum (the number of groups) once, one step
// before each group, and the end (position at the maximum). The window
// redraws and lets pending messages run after each.
struct IconProgress {
  std::function<void(int maximum)> setMaximum;
  std::function<void()> step;
  std::function<void()> finish;
};

struct ExtractResult {
  enum class Status {
    NotLoaded,    // the source cannot be loaded as a data file: nothing to say
    NoIcons,      // no icon group, or none that could be read
    Done,
    NotWritable,  // groups were there, but no file could be written into the folder
  };
  Status status = Status::NotLoaded;
  std::wstring folder;  // the source's folder, ending in its separator
  std::vector<GroupOutcome> groups;
  // The system's code of the first failed create or write call (not for
  // names that existed), 0 when there was none.
  std::uint32_t firstError = 0;
  // The extraction ran through the groups: the window lists the folder again.
  bool ran() const { return status == Status::Done || status == Status::NotWritable; }
};

// Writes one .ico per icon group of source into the source's folder, named
// after the group; an existing file is never overwritten. The source is
// loaded once for all groups.
ExtractResult ExtractIconGroups(IconModuleLoader& loader, IconFiles& files, const std::wstring& source,
                                const IconProgress& progress = {});

// The text the window shows for a result, in its language, in a box
// captioned "Corvel" with an error icon; empty when there is nothing to say.
std::wstring ExtractMessage(const ExtractResult& result, Language language);

// A group name that can stand as a file name in the folder: no separators,
// wildcards or control characters, not "." or "..", not a device name.
bool IsPlainFileName(const std::wstring& name);

}  // namespace corvel::icons
