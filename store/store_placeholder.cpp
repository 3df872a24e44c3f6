// replaced by the data store
