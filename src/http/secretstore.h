#pragma once

#include "platform/result.h"

#include <QString>

/// The passwords of the seller's servers, kept in the desktop's secret store
/// (never in a file of the program), each under the account's
/// `UploadAccount::secretKey`.
namespace secretstore {

/// The password stored for `key`; an empty one when none is stored. Fails
/// with why when the secret store cannot be reached.
Result<QString> readPassword(const QString& key);
/// Stores `password` for `key`, replacing the one stored.
Status writePassword(const QString& key, const QString& password);
/// Forgets the password of `key`; none stored is no failure.
Status removePassword(const QString& key);

} // namespace secretstore
