"""Checks an Ardour session file for the two VST 3 plug-ins' saved state: each
processor of type vst3, Orvane and Orvane x2, carries a state chunk whose
component and controller parts both hold the plug-in's view state (its tag
"OrVw" and version 1). Prints what it found; exits 1 when something lacks.

usage: savedVst3State.py SESSION.ardour
"""
import base64
import sys
import xml.etree.ElementTree as tree

STATE_START = b"OrVw\x01"


def main(path):
    saved = {}
    for processor in tree.parse(path).iter("Processor"):
        if processor.get("type") != "vst3":
            continue
        chunk = processor.find("vst3/chunk")
        data = base64.b64decode(chunk.text) if chunk is not None and chunk.text else b""
        saved[processor.get("name")] = data.count(STATE_START)
        print(f"{processor.get('name')}: {processor.get('unique-id')}, view state saved "
              f"{saved[processor.get('name')]} times")
    if sorted(saved) != ["Orvane", "Orvane x2"] or min(saved.values()) < 2:
        sys.exit(1)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
