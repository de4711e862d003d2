#!/usr/bin/python3
"""Compiles the notifier's help file: copies the Russian help pages (kept in UTF-8) into a work folder in
windows-1251, which the HTML Help viewer expects for a Russian help file, and runs chmcmd (Free Pascal's CHM
compiler) on the project. Usage: make-help.py <source folder> <work folder> <output .chm>"""
import os
import shutil
import subprocess
import sys


def main():
    source, work, output = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    for name in sorted(os.listdir(source)):
        with open(os.path.join(source, name), encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(work, name), "w", encoding="cp1251", newline="\r\n") as f:
            f.write(text)
    project = [n for n in os.listdir(source) if n.endswith(".hhp")][0]
    subprocess.run(["chmcmd", "--no-html-scan", "--verbosity", "0", project], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    shutil.copyfile(os.path.join(work, os.path.splitext(project)[0] + ".chm"), output)


if __name__ == "__main__":
    main()
