mkdir app/.git
