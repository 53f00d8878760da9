# Placeholder: filled in by later work.
