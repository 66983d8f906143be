#!/usr/bin/python3
"""Another program on a pseudo-terminal, for the connection diagnostics.

ptyhelper.py LINK [--junk] [--exclusive] [--mode OCTAL] [--lockfile PATH]

Makes a pseudo-terminal and a symlink LINK to its device, then, as asked:
answers every request with bytes no meter sends (--junk; otherwise stays
silent), holds the device open in exclusive use (--exclusive, TIOCEXCL),
sets the device's permissions (--mode), holds a serial-port lock file in the
format Qt's own lock files use (--lockfile). Prints "ready" and runs until
its standard input closes.
"""
import argparse, fcntl, os, pty, select, socket, sys, termios, tty

parser = argparse.ArgumentParser()
parser.add_argument("link")
parser.add_argument("--junk", action="store_true")
parser.add_argument("--exclusive", action="store_true")
parser.add_argument("--mode")
parser.add_argument("--lockfile")
args = parser.parse_args()

master, slave = pty.openpty()
tty.setraw(slave)
device = os.ttyname(slave)
if args.mode:
    os.chmod(device, int(args.mode, 8))
os.symlink(device, args.link)
held = None
if args.exclusive:
    held = os.open(device, os.O_RDWR | os.O_NOCTTY)
    fcntl.ioctl(held, termios.TIOCEXCL)
if args.lockfile:
    lock = os.open(args.lockfile, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
    name = os.path.basename(os.path.realpath("/proc/self/exe"))
    os.write(lock, f"{os.getpid()}\n{name}\n{socket.gethostname()}\n".encode())
    fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
print("ready", flush=True)
try:
    while True:
        readable, _, _ = select.select([master, sys.stdin], [], [])
        if sys.stdin in readable and not sys.stdin.buffer.read1(64):
            break
        if master in readable:
            if os.read(master, 256) and args.junk:
                os.write(master, b"ERROR\r\n")
finally:
    os.unlink(args.link)
    if args.lockfile:
        os.unlink(args.lockfile)
