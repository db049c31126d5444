"""Case files from Python: the runner's files and messages."""

import pytest

import tesmo

AWKWARD = {
    "txt_Dicke": " 12,5",
    "txt_rhos": '"1850"',
    "txt_XAnf": "a = b # c",
    "txt_XZiel": "",
    "txt_mue": "Wärme in W/(m² K) – äöüß €",
    "txt_lambda": "ä" * 200,
}


def test_a_case_file_keeps_every_text_and_the_runner_reads_it(runner, tmp_path):
    path = tmp_path / "fall.tgcase"
    tesmo.write_case(path, {**AWKWARD, "txt_Lufttemp": 40.5, "txt_rund": 600})
    expected = {**tesmo.defaults(), **AWKWARD, "txt_Lufttemp": "40,5", "txt_rund": "600"}
    assert tesmo.read_case(path) == expected
    assert tesmo.read_case(str(path)) == expected
    assert list(tesmo.read_case(path)) == list(tesmo.INPUT_NAMES)

    # The runner saves the same file for the same texts.
    saved = tmp_path / "runner.tgcase"
    runner("--case", str(path), "--save-case", str(saved), check_status=0)
    assert saved.read_bytes() == path.read_bytes()


def test_problems_raise_with_the_runners_messages(runner, tmp_path):
    missing = tmp_path / "fehlt.tgcase"
    done = runner("--case", str(missing), check_status=2)
    with pytest.raises(FileNotFoundError) as caught:
        tesmo.read_case(missing)
    assert caught.value.strerror == done.stderr.strip()

    bad = tmp_path / "falsch.tgcase"
    bad.write_text("format = tesmo-gegen-case 1\ntxt_Dike = 3\n", encoding="utf-8")
    done = runner("--case", str(bad), check_status=2)
    with pytest.raises(ValueError) as caught:
        tesmo.read_case(bad)
    assert str(caught.value) == done.stderr.strip()
    assert "Zeile 2" in str(caught.value)

    # A text a case file cannot hold is refused, and the earlier file stays as it was.
    path = tmp_path / "fall.tgcase"
    tesmo.write_case(path, {"txt_Dicke": 12})
    before = path.read_bytes()
    with pytest.raises(ValueError, match="txt_Dicke"):
        tesmo.write_case(path, {"txt_Dicke": "1\n2"})
    assert path.read_bytes() == before
    with pytest.raises(OSError):
        tesmo.write_case(tmp_path / "kein" / "fall.tgcase", {})
    with pytest.raises(TypeError):
        tesmo.write_case(path, {"txt_Dike": 1})
