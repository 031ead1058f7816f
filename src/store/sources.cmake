# Sources of src/store
