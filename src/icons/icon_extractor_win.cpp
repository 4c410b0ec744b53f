#include "icons/icon_extractor_win.h"

#include <windows.h>

#include <new>

#include "win/handles.h"

namespace corvel::icons {

namespace {

// The loader takes a resource's size from the file's own resource table, so
// a hostile file can claim more bytes than were mapped. Every page of the
// claimed span must be committed and readable.
bool Readable(const void* start, DWORD size) {
  const auto* at = static_cast<const std::uint8_t*>(start);
  const auto end = reinterpret_cast<std::uintptr_t>(at) + size;
  if (end < reinterpret_cast<std::uintptr_t>(at)) return false;
  while (reinterpret_cast<std::uintptr_t>(at) < end) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(at, &region, sizeof region) == 0 || region.State != MEM_COMMIT) return false;
    if (region.Protect == 0 || (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) return false;
    at = static_cast<const std::uint8_t*>(region.BaseAddress) + region.RegionSize;
  }
  return true;
}

class Win32IconModule : public IconModule {
 public:
  explicit Win32IconModule(HMODULE module) : module_(module) {}

  std::vector<ResourceName> GroupNames() override {
    std::vector<ResourceName> names;
    // A module without icon groups fails with ERROR_RESOURCE_TYPE_NOT_FOUND: no names.
    EnumResourceNamesW(module_.get(), RT_GROUP_ICON, &AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
  }

  ResourceData Group(const ResourceName& name) override {
    return Find(name.numeric ? MAKEINTRESOURCEW(name.id) : name.text.c_str(), RT_GROUP_ICON);
  }

  ResourceData Image(std::uint16_t id) override { return Find(MAKEINTRESOURCEW(id), RT_ICON); }

 private:
  static BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto& names = *reinterpret_cast<std::vector<ResourceName>*>(param);
    try {
      names.push_back(IS_INTRESOURCE(name) ? ResourceName::Number(LOWORD(reinterpret_cast<ULONG_PTR>(name)))
                                           : ResourceName::Text(name));
    } catch (const std::bad_alloc&) {
      return FALSE;  // stops the enumeration with the names so far
    }
    return TRUE;
  }

  ResourceData Find(LPCWSTR name, LPCWSTR type) {
    HRSRC info = FindResourceW(module_.get(), name, type);
    if (!info) return {};
    SetLastError(ERROR_SUCCESS);
    const DWORD size = SizeofResource(module_.get(), info);
    if (size == 0 && GetLastError() != ERROR_SUCCESS) return {ResourceData::Status::Unreadable, {}};
    HGLOBAL loaded = LoadResource(module_.get(), info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || !Readable(bytes, size)) return {ResourceData::Status::Unreadable, {}};
    return {ResourceData::Status::Found, Bytes(static_cast<const std::uint8_t*>(bytes), size)};
  }

  UniqueModule module_;
};

class Win32IconTarget : public IconTarget {
 public:
  explicit Win32IconTarget(HANDLE file) : file_(file) {}
  ~Win32IconTarget() override {
    std::uint32_t ignored;
    Close(ignored);
  }
  Win32IconTarget(const Win32IconTarget&) = delete;
  Win32IconTarget& operator=(const Win32IconTarget&) = delete;

  bool Write(Bytes bytes, std::uint32_t& error) override {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
      DWORD put = 0;
      if (!WriteFile(file_, bytes.data(), chunk, &put, nullptr)) {
        error = GetLastError();
        return false;
      }
      if (put != chunk) {
        error = 0;
        return false;
      }
      bytes = bytes.subspan(put);
    }
    return true;
  }

  bool Close(std::uint32_t& error) override {
    if (file_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(file_) != 0;
    error = closed ? 0 : GetLastError();
    file_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE file_;
};

}  // namespace

std::unique_ptr<IconModule> Win32IconModuleLoader::Load(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return nullptr;
  return std::make_unique<Win32IconModule>(module);
}

bool Win32IconFiles::Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

IconFiles::Created Win32IconFiles::CreateNew(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return {Created::Status::Exists, error, nullptr};
    return {Created::Status::Failed, error, nullptr};
  }
  return {Created::Status::Created, 0, std::make_unique<Win32IconTarget>(file)};
}

bool Win32IconFiles::Remove(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

ExtractResult ExtractIconGroupsFromFile(const std::wstring& source, const IconProgress& progress) {
  Win32IconModuleLoader loader;
  Win32IconFiles files;
  return ExtractIconGroups(loader, files, source, progress);
}

}  // namespace corvel::icons
