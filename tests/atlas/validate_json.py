# SPDX-License-Identifier: MIT
"""Validates JSON documents against a JSON Schema: validate_json.py SCHEMA DOC...

Exits 0 when every document is valid, 1 with the first error otherwise.
"""
import json
import sys

import jsonschema


def main() -> int:
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        error = jsonschema.exceptions.best_match(validator.iter_errors(document))
        if error is not None:
            print(f"{path}: {error.message} at {list(error.absolute_path)}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
