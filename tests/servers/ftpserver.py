#!/usr/bin/python3
"""An FTP or FTPS (explicit TLS) server on 127.0.0.1 for the upload tests.

Serves --root to one user with a password. Folders named like a fault show
it: "readonly" refuses every change, "full" refuses writes past 64 KiB as a
full disk does (552), "drop" cuts the connection after 64 KiB, and a file
named with "refused" in it cannot be given that name (553). With --tls the
certificate (and its key) in --cert is used, made with the openssl command
when missing. Prints "FTP READY PORT=<port>" once listening.
"""

import argparse
import errno
import logging
import os
import subprocess
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer

from faults import LIMIT, fault_of


class LimitedFile:
    """A file being written that stops as the folder's fault says."""

    def __init__(self, inner, fault):
        self.inner = inner
        self.fault = fault
        self.written = 0
        self.overflow = False

    def write(self, data):
        self.written += len(data)
        if self.written > LIMIT and self.fault == "full":
            # The rest is read and dropped, so that the client always hears
            # the refusal at the end instead of a data connection cut short.
            self.overflow = True
            return len(data)
        if self.written > LIMIT and self.fault == "drop":
            raise ConnectionAbortedError("dropped on purpose")
        return self.inner.write(data)

    def __getattr__(self, name):
        return getattr(self.inner, name)


class FaultyFS(AbstractedFS):
    def open(self, filename, mode):
        if "w" in mode or "a" in mode:
            if fault_of(filename) == "readonly":
                raise OSError(errno.EACCES, os.strerror(errno.EACCES))
            return LimitedFile(super().open(filename, mode), fault_of(filename))
        return super().open(filename, mode)

    def mkdir(self, path):
        if fault_of(os.path.dirname(path)) == "readonly":
            raise OSError(errno.EACCES, os.strerror(errno.EACCES))
        return super().mkdir(path)

    def remove(self, path):
        if fault_of(path) == "readonly":
            raise OSError(errno.EACCES, os.strerror(errno.EACCES))
        return super().remove(path)


def faulty_dtp(base):
    class Faulty(base):
        def readable(self):
            # A client may secure the data connection before it names the
            # transfer: let the handshake go on instead of closing.
            if getattr(self, "_ssl_accepting", False):
                return True
            return super().readable()

        def close(self):
            target = getattr(self, "file_obj", None)
            if getattr(target, "overflow", False) and self.transfer_finished:
                self._resp = ("552 Exceeded storage allocation; transfer aborted.", logging.info)
            super().close()

        def handle_error(self):
            try:
                raise
            except Exception as err:
                if "dropped on purpose" in repr(err):
                    # The whole connection goes, as when a server stops.
                    self.cmd_channel.close()
                    self.close()
                    return
            super().handle_error()

    return Faulty


def faulty_handler(base, dtp):
    class Faulty(base):
        dtp_handler = faulty_dtp(dtp)
        abstracted_fs = FaultyFS

        def ftp_RNTO(self, path):
            if "refused" in os.path.basename(path):
                self._rnfr = None
                self.respond("553 File name not allowed.")
                return
            if fault_of(path) == "readonly":
                self._rnfr = None
                self.respond("550 Permission denied.")
                return
            return super().ftp_RNTO(path)

    return Faulty


def make_certificate(cert):
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", cert, "-out", cert + ".crt"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # One file with key and certificate for the server, the certificate alone
    # for the client to trust.
    with open(cert + ".crt") as crt, open(cert, "a") as both:
        both.write(crt.read())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="seller")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--tls", action="store_true")
    parser.add_argument("--cert", help="key and certificate in one PEM file (made when missing)")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.tls:
        if not os.path.exists(args.cert):
            make_certificate(args.cert)
        handler = faulty_handler(TLS_FTPHandler, TLS_DTPHandler)
        handler.certfile = args.cert
        handler.tls_control_required = True
        handler.tls_data_required = True
    else:
        handler = faulty_handler(FTPHandler, DTPHandler)
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print("FTP READY PORT=%d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    logging.basicConfig(level=logging.WARNING)
    sys.exit(main())
