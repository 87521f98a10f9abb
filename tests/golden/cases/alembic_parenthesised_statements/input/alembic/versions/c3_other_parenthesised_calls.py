from alembic import op


def upgrade():
    (op.create_index("ix_b1", "existing", ["a"]))
    (  # by hand
        op.execute("CREATE INDEX ix_b2 ON existing (b)")
    )
    ((op.create_unique_constraint("uq_b3", "existing", ["c"])))
    (op.drop_table("old"), op.rename_table("older", "newer"))
