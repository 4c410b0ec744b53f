#include "tools/processes.h"

#include <cstdio>

#include "base/path.h"
#include "base/text.h"

namespace corvel {

bool IsSuspectName(std::wstring_view name) {
  return name.find(L"keylog") != std::wstring_view::npos || name.find(L"keelog") != std::wstring_view::npos;
}

std::wstring SuspectText(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names)
    if (IsSuspectName(name)) text += L" " + name;
  return text;
}

long FindProcessIdByName(std::wstring_view name, const std::vector<ProcessEntry>& snapshot) {
  long id = -1;
  for (std::size_t i = 1; i < snapshot.size(); ++i)
    if (snapshot[i].exeFile.find(name) != std::wstring::npos) id = snapshot[i].id;
  return id;
}

std::wstring DevicePathToDrivePath(std::wstring_view devicePath, const std::vector<DosDrive>& drives) {
  const std::wstring path = AsciiLower(devicePath);
  for (const DosDrive& drive : drives) {
    if (drive.device.empty()) continue;
    const std::wstring device = AsciiLower(drive.device);
    if (path.compare(0, device.size(), device) == 0)
      return std::wstring(1, drive.letter) + L":" + std::wstring(devicePath.substr(device.size()));
  }
  return {};
}

std::wstring WithoutNtPrefix(std::wstring_view path) {
  return std::wstring(path.substr(0, 4) == L"\\??\\" ? path.substr(4) : path);
}

bool IsProcessOf(std::wstring_view exeFile, std::wstring_view name) {
  const std::wstring wanted = AsciiUpper(name);
  return AsciiUpper(FileNamePart(exeFile)) == wanted || AsciiUpper(exeFile) == wanted;
}

bool KeptByFilter(std::wstring_view productName, std::wstring_view subject, std::wstring_view entry) {
  return productName.find(L"Microsoft") == std::wstring_view::npos &&
         AsciiLower(subject).find(L"system32") == std::wstring::npos && entry != L"System";
}

const wchar_t* const kVersionKeys[8] = {L"ProductName",     L"InternalName",   L"ProductVersion",
                                        L"CompanyName",     L"FileDescription", L"LegalCopyright",
                                        L"LegalTradeMarks", L"OriginalFilename"};

std::vector<std::wstring> VersionBlockLines(const VersionFields& f) {
  return {L" ",
          L"Productname:        " + f.productName,
          L"Internal Name:       " + f.internalName,
          L"Productversion:     " + f.productVersion,
          L"Companyname:     " + f.companyName,
          L"Description:           " + f.fileDescription,
          L"Copyright:             " + f.legalCopyright,
          L"Trademark:            " + f.legalTrademarks,
          L"Original Filename:  " + f.originalFilename,
          L" "};
}

std::wstring WebSearchUrl(std::wstring_view term, bool international) {
  std::wstring query;
  for (const unsigned char byte : Narrow(term)) {
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                       byte == '-' || byte == '.' || byte == '_' || byte == '~';
    if (plain) {
      query += static_cast<wchar_t>(byte);
    } else {
      wchar_t escaped[4];
      std::swprintf(escaped, 4, L"%%%02X", byte);
      query += escaped;
    }
  }
  return international ? L"http://www.google.com/search?hl=en&q=" + query
                       : L"http://www.google.de/search?q=" + query;
}

}  // namespace corvel
