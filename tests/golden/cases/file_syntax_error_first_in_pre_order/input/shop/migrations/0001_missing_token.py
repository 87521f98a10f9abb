def f(:
  pass
