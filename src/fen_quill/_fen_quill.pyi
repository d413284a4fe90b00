"""The compiled extension module `fen_quill._fen_quill` (\u00a702.7)."""

class FenQuillError(Exception):
    """Base fen-quill exception."""

class InvariantError(FenQuillError):
    """A lossless decomposability invariant failed."""

class ExactnessError(FenQuillError):
    """An exact-only operation was attempted on an approximate model."""

class SerializationError(FenQuillError):
    """Model serialization or deserialization failed."""

class InternalError(FenQuillError):
    """An internal fen-quill implementation invariant failed."""

class _Booster:
    """Low-level Python booster wrapper."""

    def __init__(
        self,
        n_trees: int = 1000,
        learning_rate: float = 0.05,
        lambda_: float = 1.0,
        l1_leaf: float = 0.0,
        min_split_gain: float = 0.0,
        max_delta_step: float | None = None,
        max_bin: int = 254,
        objective: str | None = None,
        tweedie_rho: float = 1.5,
        min_data_in_leaf: int = 0,
        min_sum_hessian_in_leaf: float = 0.0,
        min_weight_sum_in_leaf: float = 0.0,
        path_smooth: float = 0.0,
        subsample: float | None = None,
        colsample_bytree: float = 1.0,
        learning_rate_decay: float = 0.0,
        validation_fraction: float | None = None,
        early_stopping_rounds: int = 50,
        leaf_refine_steps: int = 0,
        leaf_refine_backtracks: int = 4,
        mvs_min_rows: int = 1,
        hist_precision: str | None = None,
        n_bags: int = 0,
        bag_subsample: float = 1.0,
        ridge_refit_l2: float | None = None,
        ridge_refit_max_iter: int = 5,
        nesterov: bool = False,
        dart_drop_rate: float | None = None,
        random_strength: float = 0.0,
        reanchor: bool = False,
        max_interaction_order: int = 3,
        cat_smooth: float | None = None,
        cat_target: str | None = None,
        cat_leakage: str | None = None,
        cat_n_perms: int = 1,
        cat_k: int = 5,
        cat_min_data_per_group: float = 10.0,
        cell_refit_base: float | None = None,
        cell_refit_gamma: float = 2.0,
        seed: int = 0,
        n_jobs: int | None = None,
    ) -> None: ...
