#!/usr/bin/python3
"""An SFTP server on 127.0.0.1 for the upload tests.

Serves --root to one user, who logs in with --password or with the client
key (--client-key, its public key authorized). The host key (--host-key) and
the client key are made when missing, each with its ".pub" beside it.
Folders named like a fault show it: "readonly" refuses every change, "full"
refuses writes past 64 KiB as a full disk does, "drop" cuts the connection
after 64 KiB, and a file named with "refused" in it cannot be given that
name. Prints "SFTP READY PORT=<port>" once listening.
"""

import argparse
import asyncio
import os
import sys
import warnings

# The library's own notices about old ciphers are no concern of the tests.
warnings.simplefilter("ignore")
import asyncssh  # noqa: E402

from faults import LIMIT, fault_of  # noqa: E402


def key_at(path, algorithm):
    if not os.path.exists(path):
        key = asyncssh.generate_private_key(algorithm)
        key.write_private_key(path)
        key.write_public_key(path + ".pub")
    return asyncssh.read_private_key(path)


class FaultySFTP(asyncssh.SFTPServer):
    def __init__(self, chan, root):
        super().__init__(chan, chroot=root)

    def _refuse_change(self, path):
        if fault_of(path) == "readonly":
            raise asyncssh.SFTPPermissionDenied("Permission denied")

    def open(self, path, pflags, attrs):
        if pflags & (asyncssh.FXF_WRITE | asyncssh.FXF_CREAT):
            self._refuse_change(path)
        return super().open(path, pflags, attrs)

    def write(self, file_obj, offset, data):
        fault = fault_of(self.reverse_map_path(os.fsencode(file_obj.name)))
        if offset + len(data) > LIMIT:
            if fault == "full":
                raise asyncssh.SFTPNoSpaceOnFilesystem("No space left on device")
            if fault == "drop":
                self.channel.get_connection().abort()
                return None
        return super().write(file_obj, offset, data)

    def mkdir(self, path, attrs):
        self._refuse_change(os.path.dirname(path))
        return super().mkdir(path, attrs)

    def remove(self, path):
        self._refuse_change(path)
        return super().remove(path)

    def rename(self, oldpath, newpath):
        self._refuse_change(newpath)
        if b"refused" in os.path.basename(newpath):
            raise asyncssh.SFTPInvalidFilename("File name not allowed")
        return super().rename(oldpath, newpath)


class Server(asyncssh.SSHServer):
    def __init__(self, args):
        self.args = args

    def begin_auth(self, username):
        return True

    def password_auth_supported(self):
        return True

    def validate_password(self, username, password):
        return username == self.args.user and password == self.args.password


async def serve(args):
    host_key = key_at(args.host_key, args.host_key_type)
    client_key = key_at(args.client_key, "ssh-ed25519")
    authorized = asyncssh.import_authorized_keys(
        client_key.export_public_key().decode())
    root = os.path.realpath(args.root)
    server = await asyncssh.listen(
        "127.0.0.1", 0, server_host_keys=[host_key],
        server_factory=lambda: Server(args),
        authorized_client_keys=authorized,
        sftp_factory=lambda chan: FaultySFTP(chan, root),
        allow_scp=False)
    port = server.sockets[0].getsockname()[1]
    print("SFTP READY PORT=%d" % port, flush=True)
    await server.wait_closed()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="seller")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--host-key", required=True)
    parser.add_argument("--host-key-type", default="ssh-ed25519")
    parser.add_argument("--client-key", required=True)
    args = parser.parse_args()
    try:
        asyncio.run(serve(args))
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
