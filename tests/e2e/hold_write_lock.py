"""Another program on the history file: holds its write lock (BEGIN
IMMEDIATE, as a transaction left open in the sqlite3 shell does) for SECONDS,
then commits. Prints "held" once it holds the lock and "released" after.

usage: hold_write_lock.py FILE SECONDS"""
import sqlite3
import sys
import time

path, seconds = sys.argv[1], float(sys.argv[2])
db = sqlite3.connect(path, timeout=60, isolation_level=None)
db.execute("BEGIN IMMEDIATE")
print("held", flush=True)
time.sleep(seconds)
db.execute("COMMIT")
print("released", flush=True)
