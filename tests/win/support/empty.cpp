// Keeps the support library non-empty when no shared test helpers exist.
