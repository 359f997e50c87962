# Shared set-up of the benches that drive ecu-cli against ecu-sim: the
# programs of the chosen build (built when missing), a scratch folder, and a
# sim pid that is killed on exit. Sourced after `cd` to the project root.
bin="${ECU_BUILD_DIR:-build}/src/app"
[ -x "$bin/ecu-cli" ] && [ -x "$bin/ecu-sim" ] || scripts/build >/dev/null
dir="$(mktemp -d)"
sim=""
trap '[ -n "$sim" ] && kill $sim 2>/dev/null; rm -rf "$dir"' EXIT
