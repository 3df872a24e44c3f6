// replaced by the database layer
