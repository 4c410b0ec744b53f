// The System page: operating system, machine and the drive list.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "base/messages.h"
#include "info/wmi_query.h"
#include "win/tab_page.h"

namespace corvel {

// What the drive buttons do: send an MCI command string (mciSendStringW's
// result), open a property sheet (ShellExecuteExW) and name a drive's type.
class DriveSteps {
 public:
  virtual ~DriveSteps() = default;
  virtual unsigned Mci(const std::wstring& command) = 0;
  virtual void Properties(SHELLEXECUTEINFOW& info) = 0;
  virtual std::wstring TypeName(wchar_t letter) = 0;
};

// The system's.
class SystemDriveSteps : public DriveSteps {
 public:
  unsigned Mci(const std::wstring& command) override;
  void Properties(SHELLEXECUTEINFOW& info) override;
  std::wstring TypeName(wchar_t letter) override;
};

class SystemPage : public TabPage {
 public:
  SystemPage(Form& form, WmiQueryService& wmi, const MessageTable& messages, DriveSteps& drives)
      : TabPage(form), wmi_(wmi), messages_(messages), drives_(drives) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;

  void FillSystemPage(const std::wstring& architecture);
  void BitBtn10Click();  // "Properties"
  void BitBtn28Click();  // "Open drive"
  void BitBtn29Click();  // "Close drive"

 private:
  void FillDriveList();
  void DrawDriveItem(const DRAWITEMSTRUCT& item);
  wchar_t CurrentDrive() const;    // 0 when the list has no current item
  void DriveDoorClick(bool open);  // both door buttons: only for a CD-ROM drive
  void SetDriveDoor(wchar_t letter, bool open);

  WmiQueryService& wmi_;
  const MessageTable& messages_;
  DriveSteps& drives_;
  HIMAGELIST driveImages_ = nullptr;  // the shell's, not ours to destroy
};

}  // namespace corvel
