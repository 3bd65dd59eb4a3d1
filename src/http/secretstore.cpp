#include "http/secretstore.h"

// Placeholder until the desktop's secret store is used.
namespace secretstore {

Result<QString> readPassword(const QString&) {
    return fail(QStringLiteral("The secret store is not available."));
}

Status writePassword(const QString&, const QString&) {
    return fail(QStringLiteral("The secret store is not available."));
}

Status removePassword(const QString&) {
    return {};
}

} // namespace secretstore
