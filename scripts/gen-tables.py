#!/usr/bin/env python3
"""Writes the built-in table rows (src/tables/*_data.inc) from the reference data TSVs.

Usage: scripts/gen-tables.py DATA_DIR
The generated files are committed; the build never needs the data folder.

Each carrier row's note says where its values come from (Debian's serviceproviders.xml, the
first source) and what LineageOS's apns-conf.xml (the second source) says about them;
operator_sources_data.inc holds that, one letter per parameter, for ostrova-cfg's listing.
A note that contradicts its row (a replaced value still there, a taken value the second source
does not have, a listed difference that is none, a difference it does not list) or a port outside
the camera's set stops the generator.
"""
import csv
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
data = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else root.parent / "shared" / "data")


def c_string(text, width):
    raw = text.encode("cp1252")
    if len(raw) >= width:
        sys.exit(f"value too long for char[{width}]: {text!r}")
    out = '"'
    for b in raw:
        ch = chr(b)
        if ch in '"\\':
            out += "\\" + ch
        elif 32 <= b < 127:
            out += ch
        else:
            out += f'\\x{b:02x}""'
    return out + '"'


def rows(name):
    with open(data / name, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f, delimiter="\t"))


# The nine parameters in column order, with their widths.
WIDTHS = [("mms_apn", 40), ("mms_user", 40), ("mms_password", 40), ("mmsc_url", 80),
          ("mms_proxy", 40), ("mms_port", 6), ("net_apn", 40), ("net_user", 40),
          ("net_password", 40)]
PARAMS = [k for k, _ in WIDTHS]
MMS, NET = PARAMS[:6], PARAMS[6:]
PARAM = r"\b(" + "|".join(PARAMS) + r")="
PORTS = {"80", "8080", "8799", "8008", "5080", "8070", "8001", "9093"}
PROVENANCE = {"public": "Public", "partly": "Partly", "none": "StandIn"}
PLACEHOLDER = "guest"  # the anonymous pair the column pattern makes some rows carry
# Where a differing value of the second source differs only in form, and how to see that.
FORM_ONLY = {" (letter case only)": str.lower, " (trailing slash only)": lambda v: v.rstrip("/")}


def fail(r, why):
    sys.exit(f"operator {r['operator_id']} ({r['operator_name']}): {why}")


def origins(r, parts):
    """Where each filled value came from: debian, recalled, derived, placeholder or stand-in."""
    standin = any(p.startswith("PLACEHOLDER ROW") for p in parts)
    out = {k: "stand-in" if standin else "debian" for k in PARAMS if r[k]}
    for p in parts:
        if not p.startswith("Overrides: "):
            continue
        for m in re.finditer(PARAM, p):
            kind = re.compile(r" \((\w+)").search(p, m.end()).group(1)
            # The one adjusted value (an MMS port) is a recalled one.
            out[m.group(1)] = {"recalled": "recalled", "adjusted": "recalled",
                               "placeholder": "placeholder", "normalized": out[m.group(1)]}.get(
                                   kind, "derived")
    return out


def compared(r, mine, theirs, check, field):
    """One value against the second source's: an empty or placeholder value of ours is the
    column pattern's doing, not a claim, and an empty one of theirs says nothing."""
    if not mine or mine == PLACEHOLDER or field not in check:
        return
    check[field] = "silent" if not theirs else "agrees" if mine == theirs else "differs"


def listed_differences(r, part):
    """The parameters a "SECOND SOURCE DIFFERS" note lists, each held against the row: the
    listed value must differ from ours, and only in form where the note says so."""
    listed = set()
    for entry in re.split(r"\]?(?:; | or )(?=\w+=)", part.split(" lists ", 1)[1]):
        for field, theirs in re.findall(PARAM + r"(.*?)(?:, (?=\w+=)|$)", entry.rsplit(" [", 1)[0]):
            mine = r[field]
            if not mine or mine == PLACEHOLDER:
                fail(r, f"{field} is listed as differing but the row has no value of its own")
            form = next((f for f in FORM_ONLY if theirs.endswith(f)), None)
            if form:
                theirs = theirs[: -len(form)]
                if theirs == mine or FORM_ONLY[form](theirs) != FORM_ONLY[form](mine):
                    fail(r, f"{field}: {theirs!r} is said to differ from {mine!r}{form}")
            elif theirs == mine:
                fail(r, f"{field}: the second source is said to differ but gives {mine!r} too")
            listed.add(field)
    return listed


def second_source(r):
    """The cross-check held against the row's current values: for each filled parameter
    'agrees', 'differs' or 'silent', and the parameters taken from the second source."""
    parts = r["note"].split(" | ")
    filled = [k for k in PARAMS if r[k]]
    check = {k: "agrees" for k in filled}
    taken = set()
    if parts[0].startswith("APNS-CONF REPLACED"):
        head = parts[0].split(" - from ")[0]
        # Only a recalled value or one that is not the carrier's own gives way; where the
        # carrier's own first-source entry disagrees, the first is kept.
        if "[public value contradicted]" in head:
            fail(r, "a value of the carrier's own first-source entry was replaced")
        taken = set(re.findall(PARAM + r"\S* \(was ", head))
        for k in taken:
            old = re.search(r"\b" + k + r"=\S* \(was (.*?)\)", head).group(1)
            if r[k] == old:
                fail(r, f"{k} replaced but still {old!r}")
    last = parts[-1]
    if m := re.match(r"Cross-check, [^:]*: (confirmed|contradicted|silent)[^;]*; (MMS .*?); "
                     r"(Internet .*)$", last):
        mms, net = m.group(2), m.group(3)
        if mms.startswith("MMS silent"):
            check.update({k: "silent" for k in MMS if k in check})
        if "entry gives no MMS proxy/port" in mms:
            check.update({k: "silent" for k in ("mms_proxy", "mms_port") if k in check})
        if given := re.search(r"\(not given: ([\w, ]+)\)", mms):
            check.update({k: "silent" for k in given.group(1).split(", ") if k in check})
        for field, theirs in re.findall(r"(\w+): ours '[^']*' vs '([^']*)'", mms):
            compared(r, r[field], theirs, check, field)
        if net.startswith("Internet silent"):
            check.update({k: "silent" for k in NET if k in check})
        elif net.startswith("Internet DIFFERS"):
            offers = {apn: (cred or "/").split("/", 1) for apn, cred in
                      re.findall(r"'([^']*)'(?: \(([^)]*)\))? \[", net.split("apns-conf: ", 1)[1])}
            if r["net_apn"] in offers:
                compared(r, r["net_user"], offers[r["net_apn"]][0], check, "net_user")
                compared(r, r["net_password"], offers[r["net_apn"]][1], check, "net_password")
            else:  # another access point altogether: its credentials are not ours either
                for k in NET:
                    compared(r, r[k], "\0", check, k)
        elif "apns-conf has no credentials" in net:
            for k in ("net_user", "net_password"):
                compared(r, r[k], "", check, k)
        elif creds := re.search(r"credentials: ours '([^']*)'/'([^']*)' vs '([^']*)'/'([^']*)'",
                                net):
            compared(r, r["net_user"], creds.group(3), check, "net_user")
            compared(r, r["net_password"], creds.group(4), check, "net_password")
    elif filled and not last.startswith("SECOND SOURCE DIFFERS"):
        fail(r, "the note ends without the second source's verdict")
    differs = [p for p in parts if p.startswith("SECOND SOURCE DIFFERS")]
    if differs:
        # The note lists every value the second source gives otherwise; the cross-check alone
        # counts another access point's credentials as different even where they equal ours.
        listed = listed_differences(r, differs[0])
        for k in check:
            if k in listed:
                check[k] = "differs"
            elif check[k] == "differs":
                check[k] = "agrees"
    elif found := [k for k in filled if check[k] == "differs"]:
        fail(r, f"the second source differs on {', '.join(found)} but the note does not say so")
    for k in taken:
        if check.get(k) == "differs":
            fail(r, f"{k} was taken from the second source but differs from it")
    return check, taken


# What the two sources say about one value, as ostrova-cfg prints it (tables/operator_presets.h).
EVIDENCE = {"both": "A", "first kept": "D", "second only": "2", "first only": "1",
            "stand-in": "O", "recalled": "R", "derived": "x"}


def evidence(r):
    """Nine letters, one per parameter: what the two sources say about the row's value."""
    parts = r["note"].split(" | ")
    origin = origins(r, parts)
    check, taken = second_source(r)
    out = ""
    for k in PARAMS:
        o, c = origin.get(k), check.get(k)
        if not r[k]:
            word = None
        elif k in taken:
            word = "second only"
        elif o == "placeholder" and r[k] == PLACEHOLDER:
            word = "derived"
        elif c == "differs":
            word = "first kept"
        elif c == "agrees":  # a recalled, stand-in or derived value the second source confirms
            word = "both" if o == "debian" else "second only"
        else:
            word = {"debian": "first only", "stand-in": "stand-in", "recalled": "recalled"}.get(
                o, "derived")
        out += EVIDENCE[word] if word else "-"
    return out


header = "// Generated by scripts/gen-tables.py from the carrier and mail reference data. Do not edit.\n"

ops = rows("operator-presets.tsv")
lines, sources = [header], [header]
for i, r in enumerate(ops):
    assert int(r["operator_id"]) == i, r
    if r["provenance"] not in PROVENANCE:
        fail(r, f"unknown provenance {r['provenance']!r}")
    if r["mms_port"] and r["mms_port"] not in PORTS:
        fail(r, f"MMS port {r['mms_port']} is not one the camera's table allows")
    cells = [r["country_id"], c_string(r["country_name"], 31), r["operator_id"],
             c_string(r["operator_name"], 31)] + [c_string(r[k], w) for k, w in WIDTHS]
    lines.append(f"// {r['operator_id']}: {r['country_name']} / {r['operator_name']} ({r['provenance']})\n")
    lines.append("{" + ", ".join(cells) + "},\n")
    sources.append(f'{{Provenance::{PROVENANCE[r["provenance"]]}, "{evidence(r)}"}},  // '
                   f"{r['operator_id']}: {r['country_name']} / {r['operator_name']}\n")
(root / "src/tables/operator_presets_data.inc").write_text("".join(lines))
(root / "src/tables/operator_sources_data.inc").write_text("".join(sources))

mails = rows("mail-providers.tsv")
lines = [header]
for i, r in enumerate(mails):
    assert int(r["index"]) == i, r
    cells = [r["provider_id"], r["ssl_mode"], c_string(r["display_name"], 38),
             c_string(r["address_suffix"], 38), c_string(r["smtp_server"], 40),
             c_string(r["plain_port"], 6), c_string(r["ssl_port"], 6)]
    lines.append("{" + ", ".join(cells) + "},\n")
(root / "src/tables/mail_providers_data.inc").write_text("".join(lines))
