import inspect

import pytest

from fen_quill import _fen_quill
from fen_quill._fen_quill import FenQuillError, _Booster

SIGNATURE = (
    "(n_trees=1000, learning_rate=0.05, lambda_=1.0, l1_leaf=0.0, min_split_gain=0.0, max_delta_step=None, "
    "max_bin=254, objective=None, tweedie_rho=1.5, min_data_in_leaf=0, min_sum_hessian_in_leaf=0.0, "
    "min_weight_sum_in_leaf=0.0, path_smooth=0.0, subsample=None, colsample_bytree=1.0, learning_rate_decay=0.0, "
    "validation_fraction=None, early_stopping_rounds=50, leaf_refine_steps=0, leaf_refine_backtracks=4, "
    "mvs_min_rows=1, hist_precision=None, n_bags=0, bag_subsample=1.0, ridge_refit_l2=None, "
    "ridge_refit_max_iter=5, nesterov=False, dart_drop_rate=None, random_strength=0.0, reanchor=False, "
    "max_interaction_order=3, cat_smooth=None, cat_target=None, cat_leakage=None, cat_n_perms=1, cat_k=5, "
    "cat_min_data_per_group=10.0, cell_refit_base=None, cell_refit_gamma=2.0, seed=0, n_jobs=None)"
)


def test_signature_and_docstring():
    sig = inspect.signature(_Booster)
    assert str(sig) == SIGNATURE
    assert len(sig.parameters) == 41
    assert all(p.kind is inspect.Parameter.POSITIONAL_OR_KEYWORD for p in sig.parameters.values())
    assert _Booster.__doc__ == "Low-level Python booster wrapper."
    assert _Booster.__module__ == "_fen_quill"


def test_registered_after_the_exceptions():
    names = [n for n in vars(_fen_quill) if not n.startswith("__")]
    assert names.index("_Booster") == 5


def test_defaults_and_positional_arguments_construct():
    assert isinstance(_Booster(), _Booster)
    assert isinstance(_Booster(10, 0.1, 2.0), _Booster)
    assert isinstance(_Booster(objective="Binary-LogLoss", hist_precision=" Quantized ", n_jobs=2), _Booster)
    assert isinstance(_Booster(subsample=2.0, mvs_min_rows=0, cell_refit_base=1.0), _Booster)


@pytest.mark.parametrize(
    "kwargs, exc, fragment",
    [
        (dict(n_trees="10"), TypeError, "'n_trees'"),
        (dict(n_trees=1.5), TypeError, "'n_trees'"),
        (dict(max_bin=300), OverflowError, "'max_bin'"),
        (dict(seed=-1), OverflowError, "'seed'"),
        (dict(seed=2**64), OverflowError, "'seed'"),
        (dict(n_bags=70000), OverflowError, "'n_bags'"),
        (dict(learning_rate="fast"), TypeError, "'learning_rate'"),
        (dict(objective=3), TypeError, "'objective'"),
        (dict(nesterov=1), TypeError, "'nesterov'"),
        (dict(n_jobs=-2), OverflowError, "'n_jobs'"),
        (dict(bogus=1), TypeError, "unexpected keyword argument 'bogus'"),
    ],
)
def test_conversion_errors_name_the_parameter(kwargs, exc, fragment):
    with pytest.raises(exc, match=fragment):
        _Booster(**kwargs)


def test_argument_given_twice_or_too_many():
    with pytest.raises(TypeError, match="given by name"):
        _Booster(5, n_trees=5)
    with pytest.raises(TypeError, match="at most 41"):
        _Booster(*([None] * 42))


@pytest.mark.parametrize(
    "kwargs, message",
    [
        (dict(n_trees=0), "invalid config: n_trees must be > 0"),
        (dict(learning_rate=float("nan")), "invalid config: learning_rate must be finite and > 0, got NaN"),
        (dict(learning_rate=1e300), "invalid config: learning_rate must be finite and > 0, got inf"),
        (dict(max_bin=255), "invalid config: max_bin must be <= 254, got 255"),
        (dict(objective=" poisson"), "invalid config: unknown objective ` poisson`"),
        (dict(hist_precision="half"), "invalid config: hist_precision must be 'full' or 'quantized', got \"half\""),
        (dict(subsample=0.0), "invalid config: MVS rate must be finite and in (0, 1], got 0"),
        (dict(n_bags=1, cell_refit_base=1.0), "invalid config: OuterBag cell_refit requires n_bags >= 2 (needs an OOB residual)"),
        (dict(n_jobs=0), "invalid config: n_jobs must be >= 1 when set"),
        (dict(nesterov=True, n_trees=0), "invalid config: nesterov/AGBM acceleration is experimental"),
    ],
)
def test_invalid_options_raise_fenquill_error(kwargs, message):
    with pytest.raises(FenQuillError) as info:
        _Booster(**kwargs)
    assert type(info.value) is FenQuillError
    assert str(info.value).startswith(message)
