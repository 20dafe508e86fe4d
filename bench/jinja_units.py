#!/usr/bin/env python3
"""The speed table's generator written for Jinja2: the same units, byte for byte, as the
template engine writes from bench/generator.h.

    jinja_units.py STORE.json OUTPUT REPEATS

Prints the median processor time in seconds of rendering and writing OUTPUT (the template is compiled
once beforehand, as the engine compiles its script once).
"""
import json
import sys
import time

import jinja2

# One table's unit, also used alone by jinja_unit_files.py.
UNIT = """\
unit u{{ t.name }};
{ {{ t.label }} ({{ t.type }}) }
interface
type
  T{{ t.name }}Record = record
{% for c in t.columns %}
    {{ c.name.ljust(name_width) }}: {{ c.dataType }}({{ c.size }}); \
{ {{ c.label }}{% if c.key %}, key{% endif %} }
{% endfor %}
  end;
const
  {{ t.name }}Keys = '{% for c in t.columns if c.key %}{{ c.name }};{% endfor %}';
  {{ t.name }}Columns = '{{ t.columns | map(attribute="name") | join(",") }}';
{% for r in t.refs %}
  { {{ r.table }}: {% for p in r.pairs %}{{ p[1] }} = {{ p[0] }}\
{% if not loop.last %}, {% endif %}{% endfor %} }
{% endfor %}
{% for c in t.columns if c["items"] %}
  {{ c.name }}Items: array of string = ({% for i in c["items"] %}'{{ i }}'\
{% if not loop.last %}, {% endif %}{% endfor %});
{% endfor %}
implementation
end.
"""

TEMPLATE = ("{% for t in tables %}\n" + UNIT + "{% endfor %}\n"
            "{ {{ total }} columns in {{ tables | length }} tables }\n")


def environment():
    return jinja2.Environment(keep_trailing_newline=True, newline_sequence="\r\n",
                              trim_blocks=True, autoescape=False)


def main():
    store_path, output_path, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(store_path, encoding="utf-8") as f:
        store = json.load(f)
    tables = store["tables"]
    name_width = max([len(t["name"]) for t in tables] +
                     [len(c["name"]) for t in tables for c in t["columns"]] + [0])
    total = sum(len(t["columns"]) for t in tables)
    template = environment().from_string(TEMPLATE)
    times = []
    for _ in range(repeats):
        start = time.process_time()
        text = template.render(tables=tables, name_width=name_width, total=total)
        with open(output_path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        times.append(time.process_time() - start)
    times.sort()
    print(times[len(times) // 2])


if __name__ == "__main__":
    main()
