# Sources of src/richtext
