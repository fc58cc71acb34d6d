#!/usr/bin/env python3
"""Writes data/kongsujuku.mdb_bak, the empty entry database that every new database is
copied from: one table "Quillora流格式保存表" with the columns "memo" (the entry's text),
"liuyou" (1 when the record carries a snapshot) and "liu" (the snapshot stream).

The file is stored in UTF-16 so that texts keep every UTF-16 unit as the program holds it.
Run it again only to change the template; the file is checked in."""
import os
import sqlite3
import sys

target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "kongsujuku.mdb_bak")
temporary = target + ".tmp"
if os.path.exists(temporary):
    os.remove(temporary)
db = sqlite3.connect(temporary)
db.execute("pragma encoding = 'UTF-16le'")
db.execute('create table "Quillora流格式保存表" (memo text, liuyou boolean not null default 0, liu blob)')
db.commit()
db.execute("vacuum")
db.close()
os.replace(temporary, target)
