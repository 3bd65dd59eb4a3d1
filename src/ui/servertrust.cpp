#include "ui/servertrust.h"

// Placeholder until the seller is asked.
namespace servertrust {

bool askToTrust(const UploadOutcome&, const UploadAccount&, UserDialogs&, Settings&) {
    return false;
}

} // namespace servertrust
