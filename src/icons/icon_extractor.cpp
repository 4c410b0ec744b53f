#include "icons/icon_extractor.h"

#include <algorithm>
#include <optional>

#include "base/path.h"
#include "base/text.h"

namespace corvel::icons {

namespace {

std::optional<std::uint16_t> DecimalId(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::uint32_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  }
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

ResourceData FindGroup(IconModule& source, const std::wstring& groupName) {
  ResourceData group = source.Group(ResourceName::Text(groupName));
  if (group.status == ResourceData::Status::Missing) {
    if (auto id = DecimalId(groupName)) group = source.Group(ResourceName::Number(*id));
  }
  return group;
}

// The group's images, all of them read and checked; nullopt when any is
// missing or malformed, so no partial icon is ever written.
std::optional<std::vector<IconImage>> ReadGroup(IconModule& source, const std::wstring& groupName) {
  const ResourceData group = FindGroup(source, groupName);
  if (group.status != ResourceData::Status::Found) return std::nullopt;
  const auto ids = ReadGroupDirectory(group.bytes);
  if (!ids) return std::nullopt;
  std::vector<IconImage> images;
  images.reserve(ids->size());
  for (std::uint16_t id : *ids) {
    const ResourceData data = source.Image(id);
    if (data.status != ResourceData::Status::Found) return std::nullopt;
    auto image = ReadIconImage(data.bytes);
    if (!image) return std::nullopt;
    images.push_back(*image);
  }
  return images;
}

GroupOutcome WriteNewFile(IconFiles& files, const std::wstring& target, Bytes bytes) {
  GroupOutcome outcome;
  IconFiles::Created created = files.CreateNew(target);
  switch (created.status) {
    case IconFiles::Created::Status::Exists:
      outcome.result = GroupResult::Exists;
      return outcome;
    case IconFiles::Created::Status::Failed:
      outcome.result = GroupResult::CreateFailed;
      outcome.error = created.error;
      return outcome;
    case IconFiles::Created::Status::Created:
      break;
  }
  std::uint32_t error = 0;
  const bool written = created.file->Write(bytes, error);
  std::uint32_t closeError = 0;
  const bool closed = created.file->Close(closeError);
  created.file.reset();
  if (written && closed) {
    outcome.result = GroupResult::Written;
    return outcome;
  }
  // A truncated file would hold the name and keep the next run from writing it.
  files.Remove(target);
  outcome.result = GroupResult::WriteFailed;
  outcome.error = written ? closeError : error;
  return outcome;
}

// The system takes these as devices, with any extension.
bool IsDeviceName(const std::wstring& name) {
  const std::wstring stem = TrimRight(AsciiUpper(name.substr(0, name.find(L'.'))));
  if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
  return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1' &&
         stem[3] <= L'9';
}

}  // namespace

bool IsPlainFileName(const std::wstring& name) {
  if (name.empty()) return false;
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  return !IsDeviceName(name);
}

GroupOutcome WriteIconGroup(IconModule& source, IconFiles& files, const std::wstring& target,
                            const std::wstring& groupName) {
  GroupOutcome outcome;
  const auto images = ReadGroup(source, groupName);
  const auto file = images ? BuildIcoFile(*images) : std::nullopt;
  if (file) outcome = WriteNewFile(files, target, *file);
  outcome.name = groupName;
  return outcome;
}

GroupOutcome WriteIconGroupFile(IconModuleLoader& loader, IconFiles& files, const std::wstring& source,
                                const std::wstring& target, const std::wstring& groupName) {
  const auto module = loader.Load(source);
  if (!module) return {.name = groupName, .result = GroupResult::Unreadable};
  return WriteIconGroup(*module, files, target, groupName);
}

ExtractResult ExtractIconGroups(IconModuleLoader& loader, IconFiles& files, const std::wstring& source,
                                const IconProgress& progress) {
  ExtractResult result;
  result.folder = FolderPart(source);
  const auto module = loader.Load(source);
  if (!module) return result;
  std::vector<std::wstring> names;
  for (const ResourceName& name : module->GroupNames()) names.push_back(name.Display());
  if (names.empty()) {
    result.status = ExtractResult::Status::NoIcons;
    return result;
  }

  if (progress.setMaximum) progress.setMaximum(static_cast<int>(names.size()));
  for (const std::wstring& name : names) {
    if (progress.step) progress.step();
    const std::wstring target = result.folder + name + L".ico";
    GroupOutcome outcome;
    if (!IsPlainFileName(name)) outcome = {.name = name, .result = GroupResult::BadName};
    else if (files.Exists(target)) outcome = {.name = name, .result = GroupResult::Exists};
    else outcome = WriteIconGroup(*module, files, target, name);
    if (outcome.error != 0 && result.firstError == 0) result.firstError = outcome.error;
    result.groups.push_back(std::move(outcome));
  }
  if (progress.finish) progress.finish();

  auto any = [&](auto pred) { return std::any_of(result.groups.begin(), result.groups.end(), pred); };
  auto all = [&](auto pred) { return std::all_of(result.groups.begin(), result.groups.end(), pred); };
  if (all([](const GroupOutcome& g) { return g.result == GroupResult::Unreadable || g.result == GroupResult::BadName; }))
    result.status = ExtractResult::Status::NoIcons;
  else if (!any([](const GroupOutcome& g) { return g.result == GroupResult::Written; }) &&
           any([](const GroupOutcome& g) {
             return g.result == GroupResult::CreateFailed || g.result == GroupResult::WriteFailed;
           }))
    result.status = ExtractResult::Status::NotWritable;
  else
    result.status = ExtractResult::Status::Done;
  return result;
}

std::wstring ExtractMessage(const ExtractResult& result, Language language) {
  switch (result.status) {
    case ExtractResult::Status::NoIcons:
      return language.Pick(L"Keine Icons gefunden!", L"No icons found!");
    case ExtractResult::Status::NotWritable:
      return language.Pick(L"Konnte Icons nicht schreiben nach ", L"Could not write icons to ") + result.folder;
    default:
      return {};
  }
}

}  // namespace corvel::icons
