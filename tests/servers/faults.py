"""The faults the upload tests' servers show through the names of folders."""

# Past this many bytes, "full" refuses writes and "drop" cuts the connection.
LIMIT = 64 * 1024


def fault_of(path):
    """The fault ("readonly", "full", "drop") one of the path's names shows, or None."""
    if isinstance(path, bytes):
        path = path.decode("utf-8", "replace")
    parts = path.replace("\\", "/").split("/")
    for fault in ("readonly", "full", "drop"):
        if fault in parts:
            return fault
    return None
