#!/usr/bin/env python3
"""Lists every `catch (...)` block in the program's sources that swallows the failure without a trace.

A block passes when it reports (ReportCaught, or the application's HandleException/ReportException, which report
too), rethrows (`throw`), or keeps the exception for another thread to raise (`current_exception`). Exit code 1 and
one "file:line" per block when any swallows. Usage: check-catches.py [ROOT [FOLDER...]]; --self-test checks the
scanner on planted blocks.
"""
import os
import re
import sys

FOLDERS = ['alert', 'app', 'base', 'classlib', 'identity', 'netlib', 'skin', 'tools']
# The reporter itself cannot report its own failures.
EXEMPT = {os.path.join('base', 'Report.cpp')}
ACCEPTED = re.compile(r'\bReportCaught\s*\(|\bShowException\s*\(|\bHandleException\s*\(|\bReportException\s*\(|\bthrow\b|'
                      r'\bcurrent_exception\s*\(')
CATCH_ALL = re.compile(r'\bcatch\s*\(\s*\.\.\.\s*\)\s*\{')


def strip_comments_and_strings(text):
    """The text with comments, string and character literals blanked (line breaks kept)."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i))
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j]))
            i = j
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            j = min(j + 1, n)
            out.append(c + ' ' * (j - i - 2) + c if j - i >= 2 else ' ' * (j - i))
            i = j
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def swallowing_catches(text):
    """Line numbers of the catch-all blocks in text that swallow."""
    code = strip_comments_and_strings(text)
    lines = []
    for m in CATCH_ALL.finditer(code):
        depth, j = 1, m.end()
        while j < len(code) and depth:
            depth += {'{': 1, '}': -1}.get(code[j], 0)
            j += 1
        if not ACCEPTED.search(code[m.end():j]):
            lines.append(code.count('\n', 0, m.start()) + 1)
    return lines


def scan(root, folders):
    found = []
    for folder in folders:
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.join(base, name)
                rel = os.path.relpath(path, root)
                if rel in EXEMPT:
                    continue
                with open(path, encoding='utf-8', errors='replace') as f:
                    for line in swallowing_catches(f.read()):
                        found.append(f'{rel}:{line}')
    return found


def self_test():
    cases = [
        ('try { f(); } catch (...) {\n}', [1]),
        ('try { f(); } catch (...) {\n  // ReportCaught("x") only in a comment\n}', [1]),
        ('try { f(); } catch (...) {\n  log("ReportCaught(");\n}', [1]),
        ('try { f(); } catch (...) { if (a) { g(); } }', [1]),
        ('try { f(); } catch (...) {\n  ReportCaught("x");\n}', []),
        ('try { f(); } catch (...) { if (a) { g(); } throw; }', []),
        ('try { f(); } catch ( ... ) { app->HandleException(this); }', []),
        ('try { f(); } catch (...) { e = std::current_exception(); }', []),
        ('try { f(); } catch (const std::exception&) {}', []),
        ('a();\ntry { f(); } catch (...) { ReportCaught("a"); }\ntry { g(); } catch (...) {\n}', [3]),
    ]
    bad = 0
    for text, expected in cases:
        got = swallowing_catches(text)
        if got != expected:
            print(f'self-test: {text!r}: {got} instead of {expected}')
            bad += 1
    return 1 if bad else 0


def main(argv):
    if argv[1:2] == ['--self-test']:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    found = scan(root, argv[2:] or FOLDERS)
    for where in found:
        print(f'{where}: catch (...) swallows without ReportCaught')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
