#pragma once

#include <QChar>
#include <QString>
#include <array>

/// The server list file "vtrlsrv.dft": one section per server set, named by
/// its one-character code, with the product image servers in keys "s0", "s1"
/// and "s2", each stored raised by `shiftkeys::ServerListKey`.
namespace serverlist {

/// The index a server-set code stands for. Throws AppError when the code is
/// not a decimal digit.
int serverSetIndex(QChar serverSet);

/// "http://" followed by the plain value of s0, s1 and s2 of the section
/// named by the server set. A missing file, section or key gives "http://".
std::array<QString, 3> readProductServers(const QString& fileName, QChar serverSet);

/// The build names real product image servers. Without them none is offered,
/// whatever a server list file from an older installation holds: layout
/// pictures go to the seller's own server.
bool productServersOffered();

/// `readProductServers` when product servers are offered, three empty
/// addresses otherwise.
std::array<QString, 3> offeredProductServers(const QString& fileName, QChar serverSet);

} // namespace serverlist
