#include "engine/session.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace vnx {

namespace {

CalendarDate ComputerDate() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

ScanUi& PickUi(ScanUi* ui, std::unique_ptr<HeadlessUi>& headless) {
  if (ui) return *ui;
  headless = std::make_unique<HeadlessUi>();
  return *headless;
}

template <class T>
void ClampTo(T& count, uint64_t committed) {
  if (static_cast<uint64_t>(count) > committed) count = static_cast<T>(committed);
}

}  // namespace

Session::Session(ScanUi* ui) : ctx_(PickUi(ui, headless_)) {
  vnx::ResetScanState(ctx_);
}

Session::~Session() = default;

void Session::ShowOpenFailure(const std::string& failedName, const std::string& where) {
  ctx_.ui->ShowMessage("Error Opening File " + failedName + " ! " +
                       std::strerror(ctx_.files.OpenErrno()) + " (" + where + ")");
}

bool Session::CreateWorkingFiles(const std::string& dir) {
  if (const int error = MakeDirectories(dir)) {
    ctx_.ui->ShowMessage(std::string("Error Opening File ") + WorkFileName(WorkFile::DataEpochs) +
                         " ! " + std::strerror(error) + " (" + dir + ")");
    return false;
  }
  std::string failed;
  if (ctx_.files.CreateAll(dir, failed)) return true;
  ShowOpenFailure(failed, ctx_.files.Dir() + failed);
  return false;
}

bool Session::CreateWorkingFilesInMemory() {
  std::string failed;
  if (ctx_.files.CreateAllInMemory(failed)) return true;
  ShowOpenFailure(failed, "in memory");
  return false;
}

void Session::RemoveWorkingFiles() {
  scanner_.reset();
  ctx_.files.RemoveAll();
}

void Session::ResetScanState() {
  vnx::ResetScanState(ctx_);
  std::string failed;
  if (!ctx_.files.ReopenAll(failed)) ShowOpenFailure(failed, ctx_.files.Dir() + failed);
}

void Session::BeginScan() {
  ResetScanState();
  ctx_.today = fixedToday_.year != 0 ? fixedToday_ : ComputerDate();
  ctx_.askAntenna = true;
  ctx_.selectedAntenna = '0';
  ctx_.errors.clear();
  writeFailure_.clear();
  scanResult_ = 0;
  scanner_.reset();  // unmaps the previous file
}

bool Session::RunScanner() {
  if (!scanner_->Mapped()) return false;
  scanResult_ = scanner_->Scan();
  FinishScan();
  return true;
}

bool Session::Scan(const std::string& path) {
  BeginScan();
  scanner_ = std::make_unique<TVNXFile>(ctx_, path);
  return RunScanner();
}

bool Session::ScanMemory(const std::string& name, const uint8_t* data, size_t size) {
  BeginScan();
  scanner_ = std::make_unique<TVNXFile>(ctx_, name, data, size);
  return RunScanner();
}

void Session::ResetTimeLabels() {
  ctx_.shownDateText.clear();
  ctx_.timeMsgCount = 0;
}

void Session::FinishScan() {
  WorkingFiles& files = ctx_.files;
  files.FlushAll();
  if (!files.Failed()) return;
  // Only complete records count: the views must never read past what reached the files.
  ClampTo(ctx_.epochCount, files.CommittedEpochs());
  ClampTo(ctx_.xaCount, files.File(WorkFile::ExtEventXA).CommittedRecords());
  ClampTo(ctx_.xbCount, files.File(WorkFile::ExtEventXB).CommittedRecords());
  ClampTo(ctx_.zaCount, files.File(WorkFile::ZA).CommittedRecords());
  ClampTo(ctx_.zbCount, files.File(WorkFile::ZB).CommittedRecords());
  ClampTo(ctx_.eventCount, files.File(WorkFile::Events).CommittedRecords());
  writeFailure_ = files.FailureMessage();
  ctx_.ui->ShowMessage(writeFailure_);
}

}  // namespace vnx
