#!/usr/bin/env python3
"""Checks the tree's includes against its build targets.

Reads the map the build writes (layers.txt: target, type, source folder,
sources, links; generated headers beside it) and fails when
  - a quoted include does not name an existing file by its path from the
    repository root ("tav/printing/mg_pr.h", "platform/Prompt.h");
  - a file includes a header of a target its own target does not link to,
    directly or through others (an upward include, or a test double used by
    production code);
  - the links between the project's own targets form a cycle.

A header belongs to the target that compiles the .cpp file of the same name
beside it; a header without one belongs to the target that compiles most of
the files in its folder. Programs (tests and benchmarks among them) may share
files with other programs.
"""
import os
import re
import sys
from collections import Counter

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ANGLE_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)
LIBRARY_TYPES = ('STATIC_LIBRARY', 'SHARED_LIBRARY', 'OBJECT_LIBRARY', 'MODULE_LIBRARY')


def read_map(path, root):
    targets = {}
    for line in open(path, encoding='utf-8'):
        name, kind, folder, sources, links = line.rstrip('\n').split('\t')
        files = []
        for s in sources.split(';'):
            if not s or s.endswith('-NOTFOUND') or '$<' in s:
                continue
            full = os.path.normpath(os.path.join(folder, s))
            if full.startswith(root + os.sep) and os.path.exists(full):
                files.append(os.path.relpath(full, root))
        deps = set()
        for link in links.split(';'):
            link = re.sub(r'^\$<LINK_ONLY:(.*)>$', r'\1', link)
            if link and '$<' not in link and not link.endswith('-NOTFOUND'):
                deps.add(link)
        targets[name] = {'kind': kind, 'files': files, 'deps': deps}
    for t in targets.values():
        t['deps'] &= targets.keys()
    return targets


def find_cycle(targets):
    state = {}

    def visit(name, path):
        state[name] = 'open'
        for dep in sorted(targets[name]['deps']):
            if state.get(dep) == 'open':
                return path + [name, dep]
            if dep not in state:
                found = visit(dep, path + [name])
                if found:
                    return found
        state[name] = 'done'
        return None

    for name in sorted(targets):
        if name not in state:
            found = visit(name, [])
            if found:
                return found[found.index(found[-1]):]
    return None


def closure(targets, name, memo):
    if name not in memo:
        memo[name] = set()
        reach = {name}
        for dep in targets[name]['deps']:
            reach |= closure(targets, dep, memo)
        memo[name] = reach
    return memo[name]


def owners(targets):
    """The target each source file and header belongs to."""
    owner = {}
    for name, t in sorted(targets.items(), key=lambda kv: kv[1]['kind'] not in LIBRARY_TYPES):
        for f in t['files']:
            owner.setdefault(f, name)
    by_folder = {}
    for f, name in owner.items():
        by_folder.setdefault(os.path.dirname(f), Counter())[name] += 1
    return owner, by_folder


def header_owner(header, owner, by_folder):
    stem = os.path.splitext(header)[0]
    for ext in ('.cpp', '.c'):
        if stem + ext in owner:
            return owner[stem + ext]
    counts = by_folder.get(os.path.dirname(header))
    return counts.most_common(1)[0][0] if counts else None


def own_header_names(root):
    names = set()
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [s for s in subfolders if not s.startswith(('.', 'build'))]
        names.update(f for f in files if f.endswith('.h'))
    return names


def main():
    layer_map, root = sys.argv[1], os.path.abspath(sys.argv[2])
    # Generated headers sit under the build folder at the paths they are included by.
    generated = os.path.dirname(os.path.abspath(layer_map))
    targets = read_map(layer_map, root)
    errors = []
    cycle = find_cycle(targets)
    if cycle:
        errors.append('targets link in a cycle: ' + ' -> '.join(cycle))
    owner, by_folder = owners(targets)
    own_names = own_header_names(root)
    memo = {}
    checked = dict(owner)
    queue = list(checked)
    while queue:
        f = queue.pop()
        name = checked[f]
        reach = closure(targets, name, memo)
        path = os.path.join(root, f)
        if not os.path.isfile(path):
            path = os.path.join(generated, f)
        text = open(path, encoding='utf-8', errors='replace').read()
        for included in ANGLE_INCLUDE.findall(text):
            if os.path.basename(included) in own_names:
                errors.append(f'{f}: include <{included}> as "its/path/from/the/root.h"')
        for included in INCLUDE.findall(text):
            if not any(os.path.isfile(os.path.join(r, included)) for r in (root, generated)):
                if included.endswith('.moc') or included.startswith('moc_') or included.startswith('ui_'):
                    continue
                errors.append(f'{f}: include "{included}" by its path from the repository root')
                continue
            home = header_owner(included, owner, by_folder)
            if home is None:
                continue
            shared_test_file = (targets[home]['kind'] == 'EXECUTABLE'
                                and targets[name]['kind'] == 'EXECUTABLE')
            if home not in reach and not shared_test_file:
                errors.append(f'{f} ({name}) includes {included} of {home}, which {name} does not link to')
            if included not in checked:
                checked[included] = home
                queue.append(included)
    for e in sorted(set(errors)):
        print(e)
    if errors:
        print(f'{len(set(errors))} layering fault(s)')
        return 1
    print(f'{len(checked)} files in {len(targets)} targets: every include goes downwards')
    return 0


if __name__ == '__main__':
    sys.exit(main())
