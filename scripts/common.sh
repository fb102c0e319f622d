# Shared set-up for scripts/run and scripts/test: Debian packages, configure, build,
# and a JACK server with the dummy driver where the machine has no sound card.
# Sourced, not run.

VELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMORA_BUILD_DIR="${VELMORA_BUILD_DIR:-$VELMORA_ROOT/build}"

VELMORA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  juce-modules-source
  libasound2-dev libjack-jackd2-dev jackd2
  libcurl4-openssl-dev libflac-dev libvorbis-dev libogg-dev
  libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev libxrandr-dev
  libxinerama-dev libxcursor-dev libxcomposite-dev
  libpng-dev libjpeg-dev zlib1g-dev
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core python3-mido procps lame
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${VELMORA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build_velmora() {
  if [ ! -f "$VELMORA_BUILD_DIR/build.ninja" ]; then
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$VELMORA_BUILD_DIR" -j "$(nproc)" "$@"
}

have_sound_card() {
  [ -r /proc/asound/cards ] && grep -qE '^ *[0-9]+ ' /proc/asound/cards
}

VELMORA_JACK_PID=""

# Starts jackd with the dummy driver unless a JACK server already runs.
start_jack_dummy() {
  if pgrep -x jackd >/dev/null 2>&1 || pgrep -x jackdbus >/dev/null 2>&1; then
    return 0
  fi
  export JACK_NO_AUDIO_RESERVATION=1
  local log="${TMPDIR:-/tmp}/velmora-jackd.log"
  jackd -r -d dummy -r 44100 -p 512 >"$log" 2>&1 &
  VELMORA_JACK_PID=$!
  if ! jack_wait -w -t 10 >/dev/null 2>&1 || ! kill -0 "$VELMORA_JACK_PID" 2>/dev/null; then
    echo "warning: the JACK dummy server did not start; see $log" >&2
    VELMORA_JACK_PID=""
    return 1
  fi
}

stop_jack_dummy() {
  if [ -n "$VELMORA_JACK_PID" ]; then
    kill "$VELMORA_JACK_PID" 2>/dev/null
    wait "$VELMORA_JACK_PID" 2>/dev/null
    VELMORA_JACK_PID=""
  fi
}
