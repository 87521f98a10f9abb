from alembic import op


def upgrade():
    with (op.get_context().autocommit_block(),):
        op.create_index("ix_1", "orders", ["a"], postgresql_concurrently=True)
    with (
        op.get_context().autocommit_block(),
    ):
        op.create_index("ix_2", "orders", ["b"], postgresql_concurrently=True)
    ctx = op.get_context()
    with (ctx.autocommit_block(),):
        op.drop_index("ix_3", table_name="orders", postgresql_concurrently=True)
    with (
        ctx.autocommit_block(),  # the bound context's block
    ):
        op.execute("REINDEX INDEX CONCURRENTLY ix_4")
    with (open("f"), op.get_context().autocommit_block()):
        op.execute("REINDEX INDEX CONCURRENTLY ix_5")
    with (
        open("f"),
        ctx.autocommit_block(),
    ):
        op.execute("REINDEX INDEX CONCURRENTLY ix_6")
    with ((op.get_context().autocommit_block()) \
          ,):
        op.execute("REINDEX INDEX CONCURRENTLY ix_7")
