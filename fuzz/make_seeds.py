#!/usr/bin/env python3
"""Writes the large and deep starting inputs into fuzz/corpus/<target>/ (the files are checked in;
run again only to change them).

Mutations alone never grow an input to a nesting limit or to thousands of entries, so the inputs
that reach those paths start there: values nested just below, at and just above each limit, long
lists and long texts. Each stays under the -max_len scripts/fuzz gives, so none is cut short.
"""

import json
import pathlib
import sys

sys.setrecursionlimit(10000)

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"
MAX_LEN = 65536
# The JSON readers' limit, and the preferences stores' own.
JSON_DEPTH = 512
STORE_DEPTH = 64


def depth(value):
    """Nesting as the library counts it: 0 for a scalar, 1 for an array or object of scalars."""
    if isinstance(value, list):
        return 1 + max((depth(v) for v in value), default=0)
    if isinstance(value, dict):
        return 1 + max((depth(v) for v in value.values()), default=0)
    return 0


MARK = "\0mark"


def enclosing(value):
    """How many arrays and objects enclose the MARK string in value."""
    children = value if isinstance(value, list) else value.values() if isinstance(value, dict) else None
    if children is None:
        return 0 if value == MARK else None
    found = [n for n in (enclosing(child) for child in children) if n is not None]
    return 1 + found[0] if found else None


def nested(levels):
    """A value nesting `levels` deep, arrays and objects taking turns."""
    value = 1
    for level in range(levels):
        value = [value] if level % 2 == 0 else {"v": value}
    return value


def at_depth(shape, total):
    """shape(value) with the value nested so that the whole reaches `total` levels."""
    around = enclosing(shape(MARK))
    document = shape(nested(total - around))
    assert depth(document) == total
    return document


def write(target, name, document):
    text = document if isinstance(document, str) else json.dumps(document, separators=(",", ":"), ensure_ascii=False)
    data = text.encode("utf-8", "surrogateescape")
    assert len(data) <= MAX_LEN, (target, name, len(data))
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def write_deep(target, shape_name, shape, limits):
    for limit in limits:
        for total in (limit - 1, limit, limit + 1):
            write(target, f"deep_{shape_name}_{total}.json", at_depth(shape, total))


def long_list(item, count_for, most=100000):
    """As many copies of item(i) as stay under -max_len, and no more than `most`."""
    items, size = [], 2
    for i in range(most):
        entry = item(i)
        size += len(json.dumps(entry, separators=(",", ":"), ensure_ascii=False).encode()) + 1
        if size > MAX_LEN - 256:
            break
        items.append(entry)
    return count_for(items)


# Some two-byte and three-byte characters and escapes, so that long texts cross UTF-8 handling.
LONG_TEXT = ("name é 漢 \\\" \t " * 4000)[: MAX_LEN // 2]
SIMPLE = {"from": {"key_code": "a"}, "to": [{"key_code": "b"}]}


def manipulator(value):
    return {"type": "basic", "from": {"key_code": "a"}, "to": [{"set_variable": {"name": "v", "value": value}}]}


def core_configuration():
    target = "core_configuration"
    write_deep(target, "unknown_member", lambda v: {"future": v, "profiles": [{"name": "p"}]}, [JSON_DEPTH])
    write_deep(target, "global", lambda v: {"global": {"future": v}}, [JSON_DEPTH])
    # A single "to" event is saved as a list of one: one level deeper than it was read.
    write_deep(
        target,
        "simple_to_event",
        lambda v: {"profiles": [{"name": "p", "simple_modifications": [{"from": {"key_code": "a"}, "to": v}]}]},
        [JSON_DEPTH, JSON_DEPTH - 1],
    )
    write_deep(
        target,
        "device_simple_modification",
        lambda v: {
            "profiles": [
                {
                    "name": "p",
                    "devices": [
                        {
                            "identifiers": {"vendor_id": 1, "product_id": 2, "is_keyboard": True},
                            "simple_modifications": [{"from": {"key_code": "a"}, "to": [v]}],
                        }
                    ],
                }
            ]
        },
        [JSON_DEPTH],
    )
    write_deep(
        target,
        "rule",
        lambda v: {"profiles": [{"name": "p", "complex_modifications": {"rules": [{"manipulators": [manipulator(v)]}]}}]},
        [JSON_DEPTH],
    )
    write(target, "deep_unclosed.json", "[" * (MAX_LEN - 1))
    # A save writes every profile and device with all its defaults, kilobytes each: a hundred already
    # make a file of megabytes, and more would make each run take seconds.
    write(target, "long_profiles.json", long_list(lambda i: {"name": f"p{i}"}, lambda l: {"profiles": l}, 100))
    write(
        target,
        "long_simple_modifications.json",
        long_list(lambda i: SIMPLE, lambda l: {"profiles": [{"name": "p", "selected": True, "simple_modifications": l}]}),
    )
    write(
        target,
        "long_rules.json",
        long_list(
            lambda i: {"description": f"r{i}", "manipulators": [manipulator(i)]},
            lambda l: {"profiles": [{"name": "p", "complex_modifications": {"rules": l}}]},
        ),
    )
    write(
        target,
        "long_devices.json",
        long_list(
            lambda i: {"identifiers": {"vendor_id": i, "product_id": i, "is_keyboard": True}, "ignore": True},
            lambda l: {"profiles": [{"name": "p", "devices": l}]},
            100,
        ),
    )
    write(target, "long_name.json", {"profiles": [{"name": LONG_TEXT, "selected": True}]})
    # Invalid UTF-8 in a name, which a save skips.
    write(target, "invalid_utf8_name.json", '{"profiles":[{"name":"a\udcff\udcfeb","selected":true}]}')


def lint_rule():
    target = "lint_rule"
    write_deep(target, "set_variable", lambda v: {"description": "d", "manipulators": [manipulator(v)]}, [JSON_DEPTH])
    write_deep(
        target,
        "condition",
        lambda v: {
            "description": "d",
            "manipulators": [
                {"type": "basic", "from": {"key_code": "a"}, "conditions": [{"type": "variable_if", "name": "x", "value": v}]}
            ],
        },
        [JSON_DEPTH],
    )
    write(target, "long_manipulators.json", long_list(manipulator, lambda l: {"description": "d", "manipulators": l}))
    write(
        target,
        "long_conditions.json",
        long_list(
            lambda i: {"type": "variable_if", "name": f"v{i}", "value": i},
            lambda l: {"description": "d", "manipulators": [{"type": "basic", "from": {"key_code": "a"}, "conditions": l}]},
        ),
    )
    write(
        target,
        "long_simultaneous.json",
        long_list(
            lambda i: {"key_code": "a"},
            lambda l: {"description": "d", "manipulators": [{"type": "basic", "from": {"simultaneous": l}}]},
        ),
    )
    write(target, "long_description.json", {"description": LONG_TEXT, "manipulators": [manipulator(1)]})


def complex_modifications_assets_file():
    target = "complex_modifications_assets_file"
    write_deep(
        target,
        "rule",
        lambda v: {"title": "t", "rules": [{"description": "d", "manipulators": [manipulator(v)]}]},
        [JSON_DEPTH],
    )
    write_deep(target, "unknown_member", lambda v: {"title": "t", "future": v, "rules": []}, [JSON_DEPTH])
    write(
        target,
        "long_rules.json",
        long_list(lambda i: {"description": f"r{i}", "manipulators": [manipulator(i)]}, lambda l: {"title": "t", "rules": l}),
    )
    write(target, "long_maintainers.json", long_list(lambda i: f"m{i}", lambda l: {"title": "t", "maintainers": l, "rules": []}))
    write(target, "long_title.json", {"title": LONG_TEXT, "rules": [{"description": LONG_TEXT[:1000]}]})


def connected_devices():
    target = "connected_devices"
    write_deep(
        target,
        "unknown_member",
        lambda v: [{"identifiers": {"vendor_id": 1, "is_keyboard": True}, "future": v}],
        [JSON_DEPTH],
    )
    write(
        target,
        "long_devices.json",
        long_list(
            lambda i: {"descriptions": {"product": f"k{i}"}, "identifiers": {"vendor_id": i, "product_id": i, "is_keyboard": True}},
            lambda l: l,
        ),
    )
    write(target, "long_product.json", [{"descriptions": {"manufacturer": LONG_TEXT, "product": LONG_TEXT[:2000]}}])


def system_preferences():
    target = "system_preferences"
    write_deep(target, "keyboardtype", lambda v: {"keyboardtype": {"631-1452-0": v}}, [STORE_DEPTH, JSON_DEPTH])
    write_deep(target, "unknown_member", lambda v: {"future": v, "keyboardtype": {"1-2-0": 40}}, [STORE_DEPTH])
    write(target, "deep_unclosed.json", "[" * (MAX_LEN - 1))
    write(target, "long_keyboardtypes.json", long_list(lambda i: [f"{i}-{i}-0", 40], lambda l: {"keyboardtype": dict(l)}))
    write(target, "long_key.json", {"keyboardtype": {LONG_TEXT: 40}, "com.apple.swipescrolldirection": True})


if __name__ == "__main__":
    core_configuration()
    lint_rule()
    complex_modifications_assets_file()
    connected_devices()
    system_preferences()
