# The two commands: `make run` (ARGS=/c, /p <hwnd>, ... pass a switch) and
# `make test`. Both install what is missing first.
ARGS ?=

.PHONY: deps run run-linux test bench dist soak clean

deps:
	scripts/install-deps

run: deps
	scripts/run-saver $(ARGS)

# The Linux program the same way (ARGS=-root, -window-id ID, -floor, ...).
run-linux: deps
	scripts/run-linux $(ARGS)

test: deps
	tests/test-all

bench: deps
	scripts/run-benchmarks

dist: deps
	scripts/make-dist

soak: deps
	tests/system/soak

# The README's first run on a bare Debian 12 root (debootstrap), before a release.
.PHONY: fresh-check
fresh-check:
	tests/system/fresh-check

clean:
	rm -rf build
