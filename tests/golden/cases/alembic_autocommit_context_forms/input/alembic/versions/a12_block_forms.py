from alembic import op


def upgrade():
    op.create_index("ix_a", "orders", ["a"], postgresql_concurrently=True)
    with op.get_context().autocommit_block():
        if has_c:
            op.drop_index("ix_c", table_name="orders", postgresql_concurrently=True)
        with open("x") as fh:
            op.execute("REINDEX INDEX CONCURRENTLY ix_1")
    with open("y"), op.get_context().autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix_2")
    with other.get_context().autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix_4")
