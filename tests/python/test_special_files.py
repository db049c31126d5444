"""What is not an ordinary file, and a file the user may not write: the package refuses them as
the window and the runner do, and leaves them as they are."""

import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile

import pytest

import tesmo

PIPE_REASON = "keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)"


def test_a_named_pipe_is_neither_read_nor_replaced(tmp_path):
    pipe = tmp_path / "pipe.tgcase"
    os.mkfifo(pipe)
    # Reading is tried in another interpreter: a reader that waited on the pipe would hang.
    for call in ("tesmo.read_case(sys.argv[1])", "tesmo.study(cases=sys.argv[1])"):
        done = subprocess.run(
            [sys.executable, "-c", f"import sys, tesmo\n{call}", str(pipe)],
            capture_output=True,
            text=True,
            timeout=60,
            check=False,
        )
        assert done.returncode == 1, call
        assert "OSError" in done.stderr and PIPE_REASON in done.stderr, done.stderr

    with pytest.raises(OSError, match=re.escape(PIPE_REASON)):
        tesmo.write_case(pipe, {"txt_Dicke": 12})
    with pytest.raises(OSError, match=re.escape(PIPE_REASON)):
        tesmo.write_table(tesmo.study(cases=[]), pipe)
    assert stat.S_ISFIFO(os.stat(pipe).st_mode)
    assert os.listdir(tmp_path) == ["pipe.tgcase"]


def test_a_file_the_user_may_not_write_is_left_alone():
    # A folder of its own that every user may reach and write: the folder would let a new file be
    # renamed over the read-only one (pytest's own folders are private to their user).
    folder = tempfile.mkdtemp(prefix="tesmo-nur-lesen-")
    try:
        os.chmod(folder, 0o777)
        path = os.path.join(folder, "nur-lesen.tgcase")
        tesmo.write_case(path, {"txt_Dicke": 12})
        with open(path, "rb") as file:
            before = file.read()
        os.chmod(path, 0o444)
        assert saves_as_another_user(folder, path) == 0
        with open(path, "rb") as file:
            assert file.read() == before
        assert sorted(os.listdir(folder)) == ["nur-lesen.tgcase", "probe"]
    finally:
        shutil.rmtree(folder)


def saves_as_another_user(folder, path):
    """Tries both savers on `path` in a child process; root's child becomes the user nobody, as
    root may write anything. 0: both refused with the German reason."""
    child = os.fork()
    if child == 0:
        status = 0
        try:
            if os.geteuid() == 0:
                os.setgroups([])
                os.setgid(65534)
                os.setuid(65534)
            # The user may make files in the folder: what keeps the file is its own permission.
            with open(os.path.join(folder, "probe"), "w", encoding="utf-8"):
                pass
            for save in (
                lambda: tesmo.write_case(path, {"txt_Dicke": 13}),
                lambda: tesmo.write_table(tesmo.study(cases=[]), path),
            ):
                try:
                    save()
                    status = 1
                except PermissionError as error:
                    if "keine Schreibberechtigung" not in str(error):
                        status = 2
        except BaseException:  # pylint: disable=broad-except
            status = 3
        os._exit(status)
    _, status = os.waitpid(child, 0)
    return os.waitstatus_to_exitcode(status)
