# Sources of src/controls
