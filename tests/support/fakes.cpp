#include "support/fakes.h"

#include "text/error.h"

#include <algorithm>

namespace zorvant::testing {

void RecordingServices::playSound(std::string_view wavFile) {
    if (std::find(unplayable.begin(), unplayable.end(), wavFile) != unplayable.end())
        throw Error("cannot open " + std::string(wavFile));
    played.emplace_back(wavFile);
}

watch::DeliveryOutcome RecordingMailSender::deliver(const watch::Parcel& parcel, std::stop_token) {
    if (whileSending)
        whileSending();
    if (!failWith.empty())
        return {watch::DeliveryOutcome::Kind::RetryLater, failWith};
    sent.push_back({parcel.mail, parcel.target, parcel.text});
    return {};
}

Forms::Forms(std::string programFolder, char decimalSeparator)
    : form2(dialogs, mail), form4("1.1"),
      form1(app::Environment{dialogs, system, mail, std::move(programFolder), decimalSeparator}, form2,
            form4) {
    form1.FormCreate();
}

} // namespace zorvant::testing
