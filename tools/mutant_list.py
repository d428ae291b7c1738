"""The fixed mutation list of tools/mutants.py: reading tools/mutants.txt,
checking each entry still applies to its file, and choosing entries by
--only."""

from dataclasses import dataclass


class ListError(Exception):
    pass


@dataclass
class Mutation:
    area: str
    label: str
    path: str = ""
    original: str = None
    replacement: str = None
    line: int = 0


def read_mutations(list_file):
    mutations = []
    area = "other"
    current = None
    try:
        lines = list_file.read_text(encoding="utf-8").splitlines()
    except OSError as error:
        raise ListError(f"{list_file}: {error.strerror}")
    for number, line in enumerate(lines, 1):
        where = f"{list_file}:{number}"
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("[") and line.rstrip().endswith("]"):
            area = line.strip()[1:-1].strip()
            continue
        tag = line[0]
        if len(line) > 1 and line[1] != " ":
            raise ListError(f"{where}: expected '{tag} ' at the start of the line")
        text = line[2:]
        if tag == "*":
            current = Mutation(area=area, label=text.strip(), line=number)
            mutations.append(current)
            continue
        if current is None:
            raise ListError(f"{where}: '{tag}' before the first '* label'")
        if tag == "@":
            current.path = text.strip()
        elif tag == "-":
            current.original = text
        elif tag == "+":
            current.replacement = text
        else:
            raise ListError(f"{where}: unknown line; records are '* label', '@ path', '- ', '+ '")
    labels = set()
    for mutation in mutations:
        where = f"{list_file}:{mutation.line}"
        if not mutation.label or not mutation.path:
            raise ListError(f"{where}: a mutation needs a label and '@ path'")
        if not mutation.original or mutation.replacement is None:
            raise ListError(f"{where}: a mutation needs '- original' and '+ replacement'")
        if mutation.original == mutation.replacement:
            raise ListError(f"{where}: the replacement equals the original")
        if mutation.label in labels:
            raise ListError(f"{where}: label '{mutation.label}' is used twice")
        labels.add(mutation.label)
    return mutations


def staleness(data, mutation):
    """Why the mutation cannot be applied to the file's bytes; empty when it
    can."""
    count = data.count(mutation.original.encode())
    if count == 0:
        return "original text not found"
    if count > 1:
        return f"original text found {count} times"
    return ""


def matches(mutation, patterns):
    if not patterns:
        return True
    haystack = f"{mutation.area}\n{mutation.label}\n{mutation.path}".lower()
    return any(pattern.lower() in haystack for pattern in patterns)
