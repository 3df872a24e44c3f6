// replaced by the base helpers
