"""Wrong arguments to the package's functions: TypeError, ValueError or tesmo.InputError with a
sentence naming the argument, never the binding's internals or a pandas message."""

import re
import warnings

import pandas as pd
import pytest

import tesmo

NUL = "fall.tgcase\x00/x"


def empty_frame():
    return tesmo.study(cases=[])


# (call, exception, what the message must say)
WRONG = {
    # texts that are not Unicode, numbers of the wrong kind
    "surrogate text": (lambda: tesmo.run(txt_Dicke="\udcff"), ValueError, r"^txt_Dicke: .*not Unicode"),
    "list as input": (lambda: tesmo.run(txt_Dicke=[1]), TypeError, r"^txt_Dicke is a text or a number"),
    "bool as input": (lambda: tesmo.input_text(True), TypeError, r"^value is a text or a number"),
    "unknown input": (lambda: tesmo.run(txt_Dike=3), TypeError, r"unknown input 'txt_Dike'"),
    "case of no kind": (lambda: tesmo.run(5), TypeError, r"^case is a case-file path or a dict"),
    "varied object": (
        lambda: tesmo.study(vary={"txt_mue": [object()]}),
        TypeError,
        r"^vary\['txt_mue'\] is a text or a number",
    ),
    "varied surrogate": (
        lambda: tesmo.study(vary={"txt_mue": "2\udcff"}),
        ValueError,
        r"^vary\['txt_mue'\]: .*not Unicode",
    ),
    # the arguments of a study
    "cases a number": (lambda: tesmo.study(cases=5), TypeError, r"^cases is a list of dicts"),
    "cases one dict": (lambda: tesmo.study(cases={"txt_Dicke": 4}), TypeError, r"^cases is a list"),
    "a case not a dict": (lambda: tesmo.study(cases=[{}, 4]), TypeError, r"^cases\[1\] is a dict"),
    "base a number": (lambda: tesmo.study(cases=[{}], base=5), TypeError, r"^base is a case-file"),
    "jobs a float": (lambda: tesmo.study(cases=[{}], jobs=2.5), TypeError, r"^jobs is a whole number"),
    "jobs zero": (lambda: tesmo.study(cases=[{}], jobs=0), ValueError, r"^jobs is a whole number"),
    "yes not bool": (lambda: tesmo.study(cases=[{}], yes=1), TypeError, r"^yes is True or False"),
    "progress": (lambda: tesmo.study(cases=[{}], progress=5), TypeError, r"^progress is True, False"),
    "too many cases": (
        lambda: tesmo.study(vary={"txt_mue": "1:200000:1"}),
        ValueError,
        r"^the study has 200000 cases; more than 100000 run only with yes=True$",
    ),
    "too many to list": (
        lambda: tesmo.study_cases(vary={"txt_mue": "1:200000:1"}),
        ValueError,
        r"more than 100000 run only with yes=True",
    ),
    # rows and frames
    "row None": (lambda: tesmo.study_frame([None]), TypeError, r"^rows\[0\] is a row of tesmo.study_row"),
    "row empty": (lambda: tesmo.study_frame([{}]), ValueError, r"^rows\[0\] is not a row.*no case"),
    "rows a number": (lambda: tesmo.study_frame(5), TypeError, r"^rows is a list of rows"),
    "case number text": (lambda: tesmo.study_row("1", None), TypeError, r"^case is the case number"),
    "case number 0": (lambda: tesmo.study_row(0, None), ValueError, r"^case is the case number"),
    "outcome None": (lambda: tesmo.study_row(1, None), TypeError, r"^outcome is a tesmo.Result"),
    "frame a number": (lambda: tesmo.write_table(5, "t.csv"), TypeError, r"^frame is the DataFrame"),
    "frame of no study": (
        lambda: tesmo.write_table(pd.DataFrame({"a": [1]}), "t.csv"),
        ValueError,
        r"^frame is not a study frame: no column case",
    ),
    "frame without a case number": (
        lambda: tesmo.write_table(empty_frame().reindex([0]), "t.csv"),
        ValueError,
        r"^frame: column .* holds",
    ),
    # paths
    "path a number": (lambda: tesmo.read_case(5), TypeError, r"^path is a path \(str, bytes"),
    "table path a number": (lambda: tesmo.read_table(5), TypeError, r"^path is a path"),
}

# Every path argument refuses a NUL byte, as open() does, instead of cutting the path there.
NUL_PATHS = {
    "read_case": lambda: tesmo.read_case(NUL),
    "write_case": lambda: tesmo.write_case(NUL, {}),
    "run case": lambda: tesmo.run(NUL),
    "study cases": lambda: tesmo.study(cases=NUL),
    "study base": lambda: tesmo.study(cases=[{}], base=NUL),
    "study_cases base": lambda: tesmo.study_cases(cases=[{}], base=NUL.encode()),
    "read_table": lambda: tesmo.read_table(NUL),
    "write_table": lambda: tesmo.write_table(empty_frame(), NUL),
}


@pytest.mark.parametrize("name", WRONG)
def test_a_wrong_argument_is_named_in_a_sentence(name, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    call, exception, said = WRONG[name]
    with pytest.raises(exception) as caught:
        call()
    message = str(caught.value)
    assert re.search(said, message), message
    assert "incompatible function arguments" not in message
    assert "Invoked with" not in message


@pytest.mark.parametrize("name", NUL_PATHS)
def test_a_path_with_a_nul_byte_is_refused_and_nothing_is_written(name, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(ValueError, match="embedded null byte"):
        NUL_PATHS[name]()
    assert list(tmp_path.iterdir()) == []


def test_tables_that_are_no_result_tables_say_so(tmp_path):
    cases = tmp_path / "faelle.csv"
    cases.write_text("txt_Dicke;txt_Lufttemp\n4;40\n5;\n", encoding="utf-8")
    binary = tmp_path / "binaer.csv"
    binary.write_bytes(b"case,txt_Dicke\xff\xfe\x00\x01")
    for path, said in ((cases, "its first line is not the table's header"), (binary, "not UTF-8")):
        with pytest.raises(ValueError) as caught:
            tesmo.read_table(path)
        assert str(caught.value).startswith(f"path: {path} is not a result table"), caught.value
        assert said in str(caught.value)

    # A table with the header whose cells do not fit names the column.
    good = tmp_path / "studie.csv"
    tesmo.write_table(tesmo.study(cases=[{"txt_Dicke": 4}]), good)
    header, row = good.read_text(encoding="utf-8").splitlines()
    broken = tmp_path / "kaputt.csv"
    broken.write_text(header + "\n" + "x" + row[row.index(",") :] + "\n", encoding="utf-8")
    with pytest.raises(ValueError, match=r"column 'case' holds cells that are no"):
        tesmo.read_table(broken)


def test_more_jobs_than_cores_run_on_every_core_and_say_so_once():
    cores = tesmo._core.default_jobs()
    with warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        frame = tesmo.study(vary={"txt_Dicke": "4;5"}, jobs=2**70)
    assert len(frame) == 2
    assert [str(w.message) for w in seen] == [
        f"jobs={2**70} is more than the {cores} cores of this machine; the study runs "
        f"{cores} case{'s' if cores != 1 else ''} at a time"
    ]
    assert seen[0].category is RuntimeWarning
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        tesmo.study(vary={"txt_Dicke": "4"}, jobs=cores)
