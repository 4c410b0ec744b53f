// Keeps the support library non-empty while no support code exists.
