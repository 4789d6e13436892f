"""What /proc says of a running process, for the bench scripts. Python 3 standard library only."""


def status_kb(pid, field):
    """A /proc/PID/status field in kB (VmRSS, VmHWM), 0 when the process is gone."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def cpu_ticks(pid):
    """User plus system CPU ticks the process has used, None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError, ValueError):
        return None
