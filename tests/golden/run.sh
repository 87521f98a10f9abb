#!/usr/bin/env bash
# Placeholder: golden cases land with the command line.
exit 0
