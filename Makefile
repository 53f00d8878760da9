# The two commands: `make run` (ARGS=/c, /p <hwnd>, ... pass a switch) and
# `make test`. Both install what is missing first.
ARGS ?=

.PHONY: deps run test bench clean

deps:
	scripts/install-deps

run: deps
	scripts/run-saver $(ARGS)

test: deps
	scripts/test-all

bench: deps
	scripts/run-benchmarks

clean:
	rm -rf build
