"""Ctrl+C stops a study or a run within a second and raises KeyboardInterrupt."""

import signal
import subprocess
import sys
import time

import pytest

# Prints when KeyboardInterrupt arrived (the monotonic clock is the same for every process).
SCRIPT = """
import sys, time, tesmo
print("started", flush=True)
try:
    if sys.argv[1] == "study":
        tesmo.study(vary={"txt_mue": [20] * 64}, jobs=2)
    else:
        tesmo.run(txt_deltaT="0,01")
except KeyboardInterrupt:
    print(time.monotonic(), flush=True)
    sys.exit(1)
"""


@pytest.mark.parametrize("what", ["study", "run"])
def test_ctrl_c_raises_keyboard_interrupt_within_a_second(what):
    process = subprocess.Popen(
        [sys.executable, "-c", SCRIPT, what],
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
    )
    try:
        assert process.stdout.readline() == "started\n"
        time.sleep(0.5)  # inside the C++ part by now
        sent = time.monotonic()
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=30)
    finally:
        process.kill()
    assert process.returncode == 1, err
    assert float(out) - sent < 1.0
