#include "diagnosis_runner.h"

#include "message_box.h"
#include "status_line.h"
#include "traffic_text.h"

namespace ui {

protocol::LinkDiagnosis RunDiagnosis(QWidget* owner, transport::SerialLink& link,
                                     const std::string& port, StatusLine& status) {
    const protocol::LinkDiagnosis result =
        protocol::DiagnoseLink(link, port, [&status](const protocol::DiagnosisProgress& p) {
            status.Progress(TrafficText::DiagnosisProgress(p));
        });
    status.EndProgress();
    const bool ok = result.verdict == protocol::LinkVerdict::Ok;
    Message(owner, TrafficText::DiagnosisText(result), TrafficText::tr("诊断结果"),
            ok ? BoxIcon::Information : BoxIcon::Warning);
    return result;
}

}  // namespace ui
