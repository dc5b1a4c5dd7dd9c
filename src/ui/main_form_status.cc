// What Send and Load of a project would do now: the command line's status
// of every project, and the count the status bar shows for the selected
// one, made in the background so that selecting never waits.
#include <algorithm>
#include <string>

#include "core/relative_path.h"
#include "ui/background_count.h"
#include "ui/main_form.h"
#include "ui/project_status.h"

namespace pellmar {

StatusRequest TMain::StatusRequestOf(int p) const {
  StatusRequest request;
  request.name = ListBox2.item(p);
  request.project_folder = ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page());
  request.entry = entries_.slot(p + 1);
  // What the number field would show for the entry once selected.
  request.days = std::clamp(int{request.entry.duration}, SpinEdit.min(), SpinEdit.max());
  request.ignore_hour_shift = ignore_hour_shift_;
  request.keep_replaced = keep_replaced_;
  request.code_page = code_page().number;
  return request;
}

ProjectStatus TMain::ProjectStatusOf(int p) {
  return CountProject(platform_, StatusRequestOf(p), messages_, [this] { return StopRequested(); });
}

// The selected entry as Send and Load would read it now: the fields may
// hold what the user typed since it was selected.
StatusRequest TMain::SelectedStatusRequest() const {
  StatusRequest request = StatusRequestOf(ListBox1.item_index());
  request.entry.removable_folder = edMediaDir.text();
  request.entry.exclusion_text = edExclude.text();
  request.entry.auto_delete = chkAutoDelete.checked();
  request.entry.use_zip = chkZip.checked();
  request.days = SpinEdit.value();
  return request;
}

void TMain::StartSelectionCount() {
  if (count_ == nullptr || ListBox1.item_index() < 0) return;
  ShowCountText(messages_.Msg(kCountingRuns));
  count_->Start(SelectedStatusRequest(), messages_,
                [this](const StatusRequest& request, const ProjectStatus& status) {
                  ShowSelectionCount(request, status);
                });
}

// The run changed what the count said; a stopped run's panel says how far
// it got, which stays.
void TMain::CountAgainAfterRun() {
  if (!last_run_.stopped) StartSelectionCount();
}

void TMain::CallOffSelectionCount() {
  if (count_ == nullptr) return;
  count_->CallOff();
  // What the count showed was of the project selected until now; any other
  // text there is left alone.
  if (StatusBar1.panel_text(1) == count_text_) SetCopyStatus("");
}

void TMain::ShowCountText(const std::string& text) {
  count_text_ = text;
  SetCopyStatus(text);
}

void TMain::ShowSelectionCount(const StatusRequest& request, const ProjectStatus& status) {
  if (run_in_progress_ || ListBox1.item_index() < 0) return;
  // The entry was changed or another one took its place since: its count
  // would be wrong, so it is counted again.
  if (!(SelectedStatusRequest() == request)) return StartSelectionCount();
  if (status.refusal) {
    const std::string& why = *status.refusal;
    return ShowCountText(FillIn(messages_.Msg(kNotCounted), {why.substr(0, why.find("\r\n"))}));
  }
  ShowCountText(FillIn(messages_.Msg(kSelectionCount),
                       {std::to_string(status.send.files), std::to_string(status.load.files),
                        std::to_string(status.conflict_count)}));
}

}  // namespace pellmar
